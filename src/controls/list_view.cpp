#include "controls/list_view.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

namespace qm::controls {
namespace {

std::uint64_t Number(const std::string& text) {
    std::uint64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool TextBefore(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

ListView::ListView(std::string name, std::vector<Column> columns, Control* parent)
    : Control(std::move(name), "", parent), columns_(std::move(columns)) {}

void ListView::SetRows(std::vector<Row> rows) {
    rows_ = std::move(rows);
    for (Row& row : rows_) row.resize(columns_.size());
    Sort();
    Notify(Change::Lines);
}

void ListView::ClickColumn(std::size_t column) {
    if (column >= columns_.size()) return;
    const int clicked = static_cast<int>(column);
    descending_ = sort_column_ == clicked && !descending_;
    sort_column_ = clicked;
    Sort();
    Notify(Change::Lines);
}

void ListView::Sort() {
    if (sort_column_ < 0) return;
    const auto c = static_cast<std::size_t>(sort_column_);
    const bool numeric = columns_[c].numeric;
    std::stable_sort(rows_.begin(), rows_.end(), [&](const Row& a, const Row& b) {
        const Row& first = descending_ ? b : a;
        const Row& second = descending_ ? a : b;
        return numeric ? Number(first[c]) < Number(second[c]) : TextBefore(first[c], second[c]);
    });
}

}  // namespace qm::controls
