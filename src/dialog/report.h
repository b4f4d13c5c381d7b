// The report text collected while a command writes to the message window, and the offer to store
// it as a report file.
#pragma once

#include <cstdint>
#include <string>

#include "kb/facts.h"

namespace xamo {

class UserInteraction;

class Report {
  public:
    Report(FactStore& store, UserInteraction& ui) : store_(store), ui_(ui) {}

    void kasowanie_tekst_raportu();
    // Writes to the output stream and appends to the report text.
    void pisz(const std::string& text);
    void pisz_tuto(const std::string& text) { pisz(text); }
    void piszcr();
    // pisz(text) and piszcr(), the report text found once.
    void line(const std::string& text);
    void piszint(std::int64_t n);
    void piszreal(double x);
    void pisz_tuto_int(std::int64_t n) { piszint(n); }
    void pisz_tuto_real(double x) { piszreal(x); }
    // Appends to the report text only; fails when there is no report text.
    bool lista_dla_raportu(const StringList& texts);
    const Name* text() const;

    // Offers to store the report text as a *.RPT file. Ends a capture.
    void raport();

  private:
    friend class ReportCapture;
    bool append(const std::string& text);

    FactStore& store_;
    UserInteraction& ui_;
};

// For its lifetime every text the command writes to the message window also enters the report
// text, line breaks included, so a stored report holds what the user saw; `pisz` and `piszcr`
// then append nothing of their own.
class ReportCapture {
  public:
    explicit ReportCapture(Report& report);
    ~ReportCapture();
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

  private:
    UserInteraction& ui_;
};

}  // namespace xamo
