#include "model/NameList.h"

#include <cstring>

const char* NameListLookup(const char* list, int index)
{
    if (!list || index < 0)
        return "***";
    const char* p = list;
    for (int i = 0; *p; ++i) {
        if (i == index)
            return p;
        p += std::strlen(p) + 1;
    }
    return "***";
}
