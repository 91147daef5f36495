// Fuzzes the statement-parameter scanner: any text scans, every parameter
// has a name and becomes one question mark, and the text sent to the server
// holds no parameter of its own.
#include "SqlParameterScanner.h"

#include <cstdint>
#include <cstdlib>

using namespace korvat;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const ScannedStatement scanned = scanParameters(text);
    for (const QString& name : scanned.parameterNames)
        if (name.isEmpty())
            std::abort();
    if (scanned.serverText.count(QLatin1Char('?')) < scanned.parameterNames.size())
        std::abort();
    if (!scanParameters(scanned.serverText).parameterNames.isEmpty())
        std::abort();
    return 0;
}
