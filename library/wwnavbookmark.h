#pragma once
// One saved place of the navigator: a table and a bookmark it gave. The entry
// owns the bookmark and gives it back to its table when it goes.

#include "library/dataset/bookmark.h"

#include <QPointer>

class TwwTable;

class TwwNavBookmark {
public:
    TwwNavBookmark(TwwTable* table, TBookmark bookmark);
    ~TwwNavBookmark();
    TwwNavBookmark(const TwwNavBookmark&) = delete;
    TwwNavBookmark& operator=(const TwwNavBookmark&) = delete;

    TwwTable* Table() const { return m_table; }
    const TBookmark& Bookmark() const { return m_bookmark; }
    // Frees the bookmark held and keeps the new one.
    void replace(TBookmark bookmark);
    // The bookmark is present and its row still exists.
    bool valid() const;

private:
    void release();

    QPointer<TwwTable> m_table;
    TBookmark m_bookmark;
};
