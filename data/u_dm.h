#pragma once

#include "ClientLibrary.h"
#include "Connection.h"
#include "DataSource.h"
#include "EditableDataSet.h"
#include "FreeStatement.h"
#include "Query.h"
#include "RegionalSettings.h"
#include "TableInfo.h"
#include "Transaction.h"

#include <QString>
#include <memory>
#include <optional>

// Fixed settings of the data module; tests may name another client library,
// default target or regional settings, the program itself uses the defaults.
struct TdmSettings {
    QString clientLibraryFileName = QString::fromLatin1(korvat::ClientLibrary::defaultFileName);
    QString defaultTarget = defaultTargetDatabaseName();
    // The system's regional settings when not given.
    std::optional<korvat::RegionalSettings> regionalSettings;
    // The port of the Firebird server on this machine, through which a file
    // that the server holds open is attached.
    int localServerPort = configuredLocalServerPort();
    // Where the target is backed up before a session first writes into it.
    QString backupFolder = defaultBackupFolder();

    // "C:\Korvat\KORVAT.FDB" on Windows; Korvat/KORVAT.FDB in the user's home
    // folder elsewhere, where a drive letter means nothing.
    static QString defaultTargetDatabaseName();
    // "C:\Korvat\Yedek" on Windows; Korvat/Yedek in the user's home elsewhere.
    static QString defaultBackupFolder();
    // "YerelSunucuPortu" of the program's settings file, 3050 when unset.
    static int configuredLocalServerPort();
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

    const korvat::RegionalSettings& regionalSettings() const { return m_regionalSettings; }
    const QString& backupFolder() const { return m_backupFolder; }

private:
    // Shared by the objects below, so declared before them.
    korvat::RegionalSettings m_regionalSettings;
    QString m_backupFolder;
    korvat::TableInfoCache m_tableInfo;

public:
    korvat::Connection IBDatabase1;
    korvat::Query qryStok;
    // Its field objects, one per column in table order.
    korvat::Field& qryStokSTOK_ID;
    korvat::Field& qryStokSTOK_ADI;
    korvat::Field& qryStokSATIS_FIYATI;
    korvat::Field& qryStokALIS_FIYATI;
    korvat::Field& qryStokGRUBU;
    korvat::Field& qryStokGRUBU_ID;
    korvat::Field& qryStokEK_MENU;
    korvat::Field& qryStokSTOK_KODU;
    korvat::Field& qryStokSIRA_NO;
    korvat::Field& qryStokRESIM_YERI;
    korvat::Field& qryStokBIRIM;
    korvat::Field& qryStokSTOK_TIPI;
    korvat::Field& qryStokSTOK_TIPI_ID;
    korvat::Field& qryStokGIREN;
    korvat::Field& qryStokCIKAN;
    korvat::Field& qryStokENVANTER;
    korvat::Field& qryStokAKTIFLIK;
    korvat::Field& qryStokMALIYET;
    korvat::Field& qryStokSATIS_FIYATI_2;
    korvat::Field& qryStokBARKOD;
    korvat::Field& qryStokKISA_YOL;
    korvat::Field& qryStokKDV;
    korvat::Field& qryStokSATIS_ISKONTO;
    korvat::Field& qryStokALIS_ISKONTO;
    korvat::Field& qryStokA_KDV;
    korvat::Field& qryStokS_KDV;
    korvat::Field& qryStokSON_ALIS;
    korvat::Field& qryStokSON_SATIS;
    korvat::Field& qryStokACIKLAMA;
    korvat::Field& qryStokKAR_MARJI;
    korvat::Field& qryStokYERLI_URUN_FT;
    korvat::Field& qryStokAGIRLIK_TIPI;
    korvat::Field& qryStokTERAZI_PLU;
    korvat::Field& qryStokKRITIK_SEVIYE;
    korvat::Field& qryStokBIRIM_AGIRLIK_FIYAT;
    korvat::Field& qryStokAGIRLIK;
    korvat::Field& qryStokKAPMANYA;
    korvat::Field& qryStokKMP_M;
    korvat::Field& qryStokKMP_M2;
    korvat::DataSource ds_qryStok;
    korvat::Query qryGrubu;
    korvat::Field& qryGrubuGRUBU_ID;
    korvat::Field& qryGrubuGRUBU;
    korvat::Field& qryGrubuSIRA_NO;
    korvat::Field& qryGrubuKISA_YOL;
    korvat::DataSource Ds_qryGrubu;
    korvat::Query qryCari;
    korvat::Field& qryCariCARI_ID;
    korvat::Field& qryCariCARI_KODU;
    korvat::Field& qryCariCARI_ADI;
    korvat::Field& qryCariTELEFON;
    korvat::Field& qryCariBORC;
    korvat::Field& qryCariALACAK;
    korvat::Field& qryCariBAKIYE;
    korvat::Field& qryCariTELEFON2;
    korvat::Field& qryCariVERGI_NO;
    korvat::Field& qryCariVERGI_DAIRESI;
    korvat::Field& qryCariADRES;
    korvat::Field& qryCariADRES2;
    korvat::Field& qryCariACIKLAMA;
    korvat::Field& qryCariAKTIFLIK;
    korvat::DataSource Ds_qryCari;
    korvat::Connection IBDatabase2;
    korvat::Transaction IBTransaction1;
    korvat::EditableDataSet Q_Grubu;
    korvat::EditableDataSet Q_Stok;
    korvat::DataSource Ds_Q_Grubu;
    korvat::DataSource Ds_Q_Stok;
    korvat::FreeStatement qry;
    korvat::EditableDataSet Q_Cari;
    korvat::DataSource Ds_Q_Cari;

private:
    void settleReferences();
    void completeCreation();
};

// The one data module of the program, set once it has been created.
extern Tdm* dm;
