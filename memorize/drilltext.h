#pragma once
// A text file as the drill holds a text, for the administrator's tool: the
// same characters the window would have after pasting it.

#include <string>
#include <string_view>

// Strict UTF-8 (a byte order mark at the start is dropped, being no text),
// every line break (CR LF, a lone LF, a lone CR) as CR LF, runs of spaces
// collapsed. Bytes that are not UTF-8 raise Exception naming `source` and the
// offset of the first bad byte: nothing is passed on mangled.
std::u32string loadDrillText(std::string_view bytes, const std::string& source);

// The drill's text as UTF-8.
std::string drillTextBytes(const std::u32string& text);
