#include "inference/recording.h"

#include <algorithm>

#include "kb/conditions.h"

namespace xamo {
namespace {

void record_negation(InferenceContext& ctx, const std::string& member, const Choice& why) {
    const std::string negated = negacja(member);
    ctx.memory.rbd.add(0, negated);
    ctx.memory.zanegowany_warunek_z_bazy_ograniczen.push_back(negated);
    ctx.memory.choices.emplace(negated, why);
}

// Every member other than `why.member` that is not yet established becomes false.
// Of a constraint's own members or of those still open.
template <typename Members>
void negate_other_members(InferenceContext& ctx, const Members& members, const Choice& why) {
    for (const auto& member : members) {
        if (member != why.member && !ctx.memory.rbd.established(member))
            record_negation(ctx, std::string(member), why);
    }
}

// The member chosen from a constraint holds, and so do the negations of the others.
void record_chosen(InferenceContext& ctx, const StringList& members, std::int32_t constraint,
                   const std::string& chosen) {
    const Choice why{constraint, chosen, Choice::Cause::Chosen};
    ctx.memory.rbd.add(0, chosen);
    ctx.memory.choices.emplace(chosen, why);
    negate_other_members(ctx, members, why);
}

// Positions of the constraints holding c, all of them or only the first.
std::vector<std::size_t> constraints_with(InferenceContext& ctx, const std::string& c, bool all) {
    const auto& holding = ctx.constraints_holding(c);
    if (all || holding.empty()) return holding;
    return {holding.front()};
}

// Replaces each listed constraint (positions ascending) by a copy without `member`, added at the
// end of the base. When the listed constraints are the last ones, each stays where it was and
// only `member` leaves the member index: seeding a run with many negated members of one large
// constraint does not index the whole base again at each of them.
void shorten_constraints(InferenceContext& ctx, const std::vector<std::size_t>& indexes,
                         const std::string& member) {
    auto& constraints = ctx.store.mutable_all(Kind::ograniczenie);
    const auto without_member = [&member](Fact& constraint) {
        auto& members = std::get<NameList>(constraint.fields[Constraint::members_field]).names();
        std::erase(members, member);
    };
    const std::size_t count = constraints.size();
    if (indexes.back() - indexes.front() + 1 == indexes.size() && indexes.back() + 1 == count) {
        for (const std::size_t i : indexes) without_member(constraints[i]);
        ctx.constraint_member_removed(member, indexes);
        return;
    }
    std::vector<Fact> shortened;
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) {
        Fact moved = std::move(constraints[*it]);
        without_member(moved);
        shortened.insert(shortened.begin(), std::move(moved));
        constraints.erase(constraints.begin() + static_cast<std::ptrdiff_t>(*it));
    }
    for (auto& fact : shortened) ctx.store.add(std::move(fact));
    ctx.constraints_changed();
}

}  // namespace

Recorded zachowaj_wniosek(InferenceContext& ctx, std::int32_t n, const std::string& r,
                          std::uint32_t name) {
    WorkingMemory& rbd = ctx.memory.rbd;
    const bool negated = is_negated(r);
    const std::string p = positive_form(r);
    if (negated && rbd.has(n, p) && rbd.count(p) == 1) {
        rbd.remove(n, p);
        ctx.skasuj_zastosowane_reguly(p);
        rbd.add(n, r);
        return {1};
    }
    const std::uint32_t place = rbd.intern(r, name);
    if (rbd.has_at(n, place)) {
        ctx.memory.regula_zastosowana.insert(n);
        return {negated ? 3 : 2};
    }
    if (negated) {
        if (rbd.has(n, p)) {
            rbd.remove(n, p);
            ctx.skasuj_zastosowane_reguly(p);
            return {4};
        }
        if (rbd.established(p)) {
            ctx.skasuj_zastosowane_reguly(p);
            return {5};
        }
        if (rbd.count_at(place) == 0) {
            ctx.skasuj_zastosowane_reguly(p);
            rbd.add_at(n, place);
            return {6};
        }
        return {10};
    }
    if (!rbd.negation_established(r)) {
        ctx.skasuj_zastosowane_reguly(r, rbd.name_at(place));
        return {rbd.add_at(n, place) > 1 ? 8 : 7};
    }
    rbd.remove_all(negacja(r));
    ctx.skasuj_zastosowane_reguly(r, rbd.name_at(place));
    rbd.add_at(n, place);
    return {9};
}

bool pamietaj(InferenceContext& ctx, const std::string& c, bool yes, bool seeding) {
    WorkingMemory& rbd = ctx.memory.rbd;
    const std::uint32_t place = rbd.intern(c);
    if (rbd.count_at(place) > 0 || rbd.negation_established(c)) return false;
    if (!yes) {
        ctx.memory.rbd.add(0, negacja(c));
        return true;
    }
    if (const auto holding = constraints_with(ctx, c, seeding); !holding.empty()) {
        const auto cause = seeding ? Choice::Cause::Declared : Choice::Cause::Answered;
        for (std::size_t index : holding) {
            const Constraint constraint(ctx.store.all(Kind::ograniczenie)[index]);
            ctx.memory.rbd.add(0, c);
            negate_other_members(ctx, constraint.members(), {constraint.number(), c, cause});
        }
        return true;
    }
    const std::string negation = negacja(c);
    if (const auto holding = constraints_with(ctx, negation, seeding); !holding.empty()) {
        for (std::size_t i = 0; i < holding.size(); ++i) ctx.memory.rbd.add(0, c);
        shorten_constraints(ctx, holding, negation);
        return true;
    }
    rbd.add_at(0, place);
    return true;
}

char pamietaj_wybor(InferenceContext& ctx, const StringList& members, std::int32_t constraint,
                    const std::string& c, const std::string& chosen) {
    // On a line of its own: followed directly by the next text it would read as another name.
    ctx.line(chosen);
    record_chosen(ctx, members, constraint, chosen);
    const bool holds = is_negated(c) ? chosen != negacja(c) : chosen == c;
    return holds ? 't' : 'n';
}

void pamietaj_wybor_warunku_stosowania(InferenceContext& ctx, const StringList& members,
                                       std::int32_t constraint, const std::string& chosen) {
    record_chosen(ctx, members, constraint, chosen);
}

void pamietaj_warunki_nie_bedace_faktami(InferenceContext& ctx, const StringList& conditions,
                                         const Choice& why) {
    for (const auto& c : conditions) {
        if (!ctx.memory.rbd.established(c)) record_negation(ctx, c, why);
    }
}

}  // namespace xamo
