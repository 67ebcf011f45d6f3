#include "library/wwnavbookmark.h"

#include "library/dataset/wwtable.h"

TwwNavBookmark::TwwNavBookmark(TwwTable* table, TBookmark bookmark) : m_table(table), m_bookmark(bookmark) {}

TwwNavBookmark::~TwwNavBookmark() { release(); }

void TwwNavBookmark::release()
{
    if (m_table)
        m_table->FreeBookmark(m_bookmark);
    m_bookmark = TBookmark();
}

void TwwNavBookmark::replace(TBookmark bookmark)
{
    release();
    m_bookmark = bookmark;
}

bool TwwNavBookmark::valid() const { return m_table && !m_bookmark.isEmpty() && m_table->BookmarkValid(m_bookmark); }
