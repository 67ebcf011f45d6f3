#pragma once
// The states of a record cursor.
//  - dsInactive: the table is closed.
//  - dsBrowse:   the current row is shown as stored.
//  - dsEdit:     the current row is being changed (the engine holds its lock).
//  - dsInsert:   a new row, not yet stored, stands before the row that was current.
enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };
