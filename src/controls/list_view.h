#pragma once
// A list of rows under column headers (a report-style list view), sortable by a click on a
// header: the first click on a column sorts by it ascending, the next one on the same column
// descending. Numeric columns sort by their number, the others by text without regard to case.
#include <cstddef>
#include <string>
#include <vector>

#include "controls/controls.h"

namespace qm::controls {

class ListView : public Control {
  public:
    struct Column {
        std::string caption;
        bool numeric = false;
    };
    using Row = std::vector<std::string>;  // one text per column

    ListView(std::string name, std::vector<Column> columns, Control* parent = nullptr);
    const std::vector<Column>& columns() const { return columns_; }
    const std::vector<Row>& rows() const { return rows_; }
    // New rows, in the order of the sort chosen last (as given while none was).
    void SetRows(std::vector<Row> rows);
    void ClickColumn(std::size_t column);
    // -1 while unsorted.
    int sort_column() const { return sort_column_; }
    bool descending() const { return descending_; }

  private:
    void Sort();

    std::vector<Column> columns_;
    std::vector<Row> rows_;
    int sort_column_ = -1;
    bool descending_ = false;
};

}  // namespace qm::controls
