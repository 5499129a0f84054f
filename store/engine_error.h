#pragma once
// The text a user reads when the engine fails on the database file: what happened, in Chinese
// and naming the file, with the engine's own text on a second line for whoever looks further.
#include <string>
#include <string_view>

struct sqlite3;

namespace store {

// `code` is the engine's (extended) result code, `systemError` the errno behind it or 0.
// Failures a user cannot meet (statement faults) keep the engine's text alone.
std::string DescribeEngineFailure(std::string_view file, int code, int systemError, std::string_view engineText);

// The same for the last failure on `db`; the engine's text, after `context`, carries the
// system's reason.
std::string DescribeEngineFailure(std::string_view file, sqlite3* db, std::string_view context = {});

}  // namespace store
