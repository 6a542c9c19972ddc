// The program's string table: every text shown to the user, by id 1-34, in UTF-8.
#pragma once

// The text of string id, or nullptr when the table has no such entry (the callers then use their own text).
const char* loadString(int id);
