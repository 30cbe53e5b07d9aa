#pragma once
// A table of the N best results, best first, with its XML form. The entry type supplies
// `operator>` (which result is better), `getFromNode` and `putInNode`.

#include <array>
#include <cstddef>

#include "xml/node.hpp"

namespace lumo {

/// Root element of a high-score file.
inline const char* const XML_HIGHSCORES_HIGHSCORES = "highscores";
/// One row of a high-score file.
inline const char* const XML_HIGHSCORES_ENTRY = "entry";

template <class Entry, std::size_t N>
class HighscoreTable {
  public:
    static constexpr std::size_t size = N;

    /// Puts `entry` at the first row it beats, moving the rows below down by one (the last one
    /// drops out); an entry equal to a row goes below it. Returns the row, or -1 when the entry
    /// beats none (the table is unchanged then).
    int add(const Entry& entry) {
        for (std::size_t i = 0; i < N; ++i) {
            if (!(entry > rows[i]))
                continue;
            for (std::size_t j = N - 1; j > i; --j)
                rows[j] = rows[j - 1];
            rows[i] = entry;
            return static_cast<int>(i);
        }
        return -1;
    }
    /// The first row that `entry` would take, or -1; the table is not changed.
    int rankOf(const Entry& entry) const {
        for (std::size_t i = 0; i < N; ++i)
            if (entry > rows[i])
                return static_cast<int>(i);
        return -1;
    }
    /// Reads the first N `entry` children into rows 0 to N - 1 as stored (no sorting); other
    /// children are ignored and rows without a child keep their content.
    void getFromNode(const xml::Node* node) {
        if (!node)
            return;
        std::size_t row = 0;
        for (const xml::Node* child : node->children) {
            if (row == N)
                break;
            if (child->name == XML_HIGHSCORES_ENTRY)
                rows[row++].getFromNode(child);
        }
    }
    /// Appends one `entry` child per row, all N of them, in table order.
    void putInNode(xml::Node* node) const {
        for (const Entry& entry : rows) {
            xml::Node* child = new xml::Node;
            child->name = XML_HIGHSCORES_ENTRY;
            entry.putInNode(child);
            *node += child;
        }
    }
    const Entry& operator[](std::size_t i) const { return rows[i]; }
    Entry& operator[](std::size_t i) { return rows[i]; }

    std::array<Entry, N> rows{};
};

}  // namespace lumo
