#pragma once
// A bookmark marks one row of a table. It is an opaque token: only the table
// that gave it knows what it means. An empty bookmark marks nothing, and going
// to it does nothing.

#include "platform/storage/storage.h"

#include <optional>

class TBookmark {
public:
    TBookmark() = default;
    bool isEmpty() const { return !m_row.has_value(); }
    bool operator==(const TBookmark&) const = default;

private:
    friend class TwwTable;
    explicit TBookmark(storage::RowId row) : m_row(row) {}
    std::optional<storage::RowId> m_row;
};
