#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace velmora::data {

class ColumnStore;

// A row filter in the syntax the grid frame builds and shows:
//   MESTO LIKE 'Bel%' AND ID=5
// with AND, OR, NOT, parentheses, = <> < > <= >=, LIKE with % and _, and
// IS [NOT] NULL. Text compares without case (Serbian letters included); the
// names are the dataset's field names, in any case.
class FilterExpression {
public:
    struct Node;
    // Finds a column by field name; nullptr when there is none.
    using Resolver = std::function<const ColumnStore *(const QString &name)>;

    // Throws DatasetError with the reason when the text cannot be read.
    FilterExpression(const QString &text, const Resolver &resolver);
    ~FilterExpression();
    FilterExpression(FilterExpression &&) noexcept;

    bool matches(size_t row) const;

private:
    std::unique_ptr<Node> m_root;
};

} // namespace velmora::data
