#include "ProcessLocale.h"

#include <cctype>
#include <clocale>
#include <cstring>
#include <initializer_list>
#include <langinfo.h>

namespace korvat {

bool hasPlainCaseRules()
{
    return std::toupper('i') == 'I' && std::tolower('I') == 'i';
}

bool useClientLibraryLocale()
{
    // Decimal points as the library's own number texts expect them.
    std::setlocale(LC_NUMERIC, "C");

    // C.UTF-8 is built into the C library from glibc 2.35 on and installed on
    // Debian before that; an older system may spell it otherwise.
    for (const char* name : {"C.UTF-8", "C.utf8"})
        if (std::setlocale(LC_CTYPE, name))
            return true;
    if (hasPlainCaseRules() && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0)
        return true;  // a UTF-8 locale of plain rules, such as en_US.UTF-8
    std::setlocale(LC_CTYPE, "C");
    return false;
}

}  // namespace korvat
