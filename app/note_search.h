#pragma once
// Notes are stored enciphered, so a search in them compares the deciphered text in memory.
#include <QString>

// Whether text contains the keyword as the engine's LIKE '%keyword%' would see it in plain text:
// '%' stands for any run of characters, '_' for one, and ASCII letters match ignoring case.
bool LikeContains(const QString& text, const QString& keyword);
