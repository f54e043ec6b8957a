// Enumeration names stored as zero-separated lists.
#pragma once

// Returns name `index` of a list of zero-separated names ending in an empty
// name (i.e. two zero bytes), or "***" when the index lies outside the list.
const char* NameListLookup(const char* list, int index);
