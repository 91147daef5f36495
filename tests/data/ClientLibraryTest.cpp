#include "ClientLibrary.h"
#include "Errors.h"
#include "u_dm.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace korvat;

namespace {

QString missingLibraryMessage(const char* name)
{
    return u"InterBase library %1 not found in the path. Please install InterBase to "
           "use this functionality"_s.arg(QLatin1String(name));
}

}  // namespace

TEST(ClientLibrary, loadsTheFirebirdClientWithEveryEntryPoint)
{
    auto library = ClientLibrary::load();
    EXPECT_EQ(library->fileName(), u"libfbclient.so.2"_s);
    EXPECT_NE(library->isc_attach_database, nullptr);
    EXPECT_NE(library->fb_interpret, nullptr);
}

TEST(ClientLibrary, missingLibraryNamesItsFile)
{
    try {
        ClientLibrary::load(u"libnothere.so.9"_s);
        FAIL() << "loaded a library that does not exist";
    } catch (const ClientLibraryError& error) {
        EXPECT_EQ(error.message(), missingLibraryMessage("libnothere.so.9"));
    }
}

TEST(ClientLibrary, libraryWithoutTheEntryPointsIsRefusedTheSameWay)
{
    try {
        ClientLibrary::load(u"libz.so.1"_s);
        FAIL() << "accepted a library without the client's entry points";
    } catch (const ClientLibraryError& error) {
        EXPECT_EQ(error.message(), missingLibraryMessage("libz.so.1"));
    }
}

TEST(ClientLibrary, missingLibraryWhileCreatingTheDataModuleIsASettingReadError)
{
    TdmSettings settings;
    settings.clientLibraryFileName = u"libnothere.so.9"_s;
    try {
        Tdm module(settings);
        FAIL() << "the data module was created without its client library";
    } catch (const SettingReadError& error) {
        EXPECT_EQ(error.message(),
                  u"Error reading IBDatabase1.ServerType: "_s + missingLibraryMessage("libnothere.so.9"));
    }
}
