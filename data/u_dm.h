#pragma once

#include "ClientLibrary.h"
#include "Connection.h"
#include "Transaction.h"

#include <QString>
#include <memory>

// Fixed settings of the data module; tests may name another client library
// or default target, the program itself always uses the defaults.
struct TdmSettings {
    QString clientLibraryFileName = QString::fromLatin1(korvat::ClientLibrary::defaultFileName);
    QString defaultTarget = defaultTargetDatabaseName();

    // "C:\Korvat\KORVAT.FDB" on Windows; Korvat/KORVAT.FDB in the user's home
    // folder elsewhere, where a drive letter means nothing.
    static QString defaultTargetDatabaseName();
};

// The data module: every database object of the program, created in a fixed
// order and destroyed in the reverse one.
class Tdm {
public:
    explicit Tdm(const TdmSettings& settings = {});
    ~Tdm();
    Tdm(const Tdm&) = delete;
    Tdm& operator=(const Tdm&) = delete;

    // Ends everything as the destructor would, in the same order, but raises
    // a commit that failed on the way so that the operator is told before the
    // program ends.
    void shutdown();

    korvat::Connection IBDatabase1;
    korvat::Connection IBDatabase2;
    korvat::Transaction IBTransaction1;

private:
    void settleReferences();
    void completeCreation();
};

// The one data module of the program, set once it has been created.
extern Tdm* dm;
