#include "ClientLibrary.h"
#include "Errors.h"
#include "u_dm.h"

#include <gtest/gtest.h>

using namespace korvat;

namespace {

QString missingLibraryMessage(const char* name)
{
    return QStringLiteral("InterBase library %1 not found in the path. Please install InterBase to "
                          "use this functionality")
        .arg(QLatin1String(name));
}

}  // namespace

TEST(ClientLibrary, loadsTheFirebirdClientWithEveryEntryPoint)
{
    auto library = ClientLibrary::load();
    EXPECT_EQ(library->fileName(), QStringLiteral("libfbclient.so.2"));
    EXPECT_NE(library->isc_attach_database, nullptr);
    EXPECT_NE(library->fb_interpret, nullptr);
}

TEST(ClientLibrary, missingLibraryNamesItsFile)
{
    try {
        ClientLibrary::load(QStringLiteral("libnothere.so.9"));
        FAIL() << "loaded a library that does not exist";
    } catch (const ClientLibraryError& error) {
        EXPECT_EQ(error.message(), missingLibraryMessage("libnothere.so.9"));
    }
}

TEST(ClientLibrary, libraryWithoutTheEntryPointsIsRefusedTheSameWay)
{
    try {
        ClientLibrary::load(QStringLiteral("libz.so.1"));
        FAIL() << "accepted a library without the client's entry points";
    } catch (const ClientLibraryError& error) {
        EXPECT_EQ(error.message(), missingLibraryMessage("libz.so.1"));
    }
}

TEST(ClientLibrary, missingLibraryWhileCreatingTheDataModuleIsASettingReadError)
{
    TdmSettings settings;
    settings.clientLibraryFileName = QStringLiteral("libnothere.so.9");
    try {
        Tdm module(settings);
        FAIL() << "the data module was created without its client library";
    } catch (const SettingReadError& error) {
        EXPECT_EQ(error.message(),
                  QStringLiteral("Error reading IBDatabase1.ServerType: ")
                      + missingLibraryMessage("libnothere.so.9"));
    }
}
