// The structured browse window: item numbers on the left, the fields of the selected item on the
// right, the counts, "&Zamknij" and "&Pomoc". Positions and sizes are fractions of the client
// area, recomputed on every resize; the left column is never narrower than its longest label.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "dialog/browse_view.h"

class QListWidget;

namespace xamo {

class BrowseWindow : public QWidget {
    Q_OBJECT
  public:
    BrowseWindow(BrowseView view, std::function<void()> help);
    // Shows the fields of the item at `row` of the number list.
    void select(int row);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Slot {
        QWidget* widget;
        int units;  // share of the column's height
    };
    static void place_column(const std::vector<Slot>& column, const QRect& area);

    BrowseView view_;
    QListWidget* numbers_;
    std::vector<QWidget*> fields_;  // QLineEdit for one value, QListWidget for a list
    std::vector<Slot> left_;
    std::vector<Slot> right_;
    int left_labels_width_ = 0;  // the widest label of the left column, which is never cut
};

}  // namespace xamo
