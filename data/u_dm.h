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

    // "C:\Korvat\KORVAT.FDB" on Windows; Korvat/KORVAT.FDB in the user's home
    // folder elsewhere, where a drive letter means nothing.
    static QString defaultTargetDatabaseName();
    // "YerelSunucuPortu" of the program's settings file, 3050 when unset.
    static int configuredLocalServerPort();
};

// The field objects of the source queries, one per column in table order.
#define TDM_QRYSTOK_FIELDS(X)                                                                      \
    X(qryStok, STOK_ID) X(qryStok, STOK_ADI) X(qryStok, SATIS_FIYATI) X(qryStok, ALIS_FIYATI)      \
    X(qryStok, GRUBU) X(qryStok, GRUBU_ID) X(qryStok, EK_MENU) X(qryStok, STOK_KODU)               \
    X(qryStok, SIRA_NO) X(qryStok, RESIM_YERI) X(qryStok, BIRIM) X(qryStok, STOK_TIPI)             \
    X(qryStok, STOK_TIPI_ID) X(qryStok, GIREN) X(qryStok, CIKAN) X(qryStok, ENVANTER)              \
    X(qryStok, AKTIFLIK) X(qryStok, MALIYET) X(qryStok, SATIS_FIYATI_2) X(qryStok, BARKOD)         \
    X(qryStok, KISA_YOL) X(qryStok, KDV) X(qryStok, SATIS_ISKONTO) X(qryStok, ALIS_ISKONTO)        \
    X(qryStok, A_KDV) X(qryStok, S_KDV) X(qryStok, SON_ALIS) X(qryStok, SON_SATIS)                 \
    X(qryStok, ACIKLAMA) X(qryStok, KAR_MARJI) X(qryStok, YERLI_URUN_FT) X(qryStok, AGIRLIK_TIPI)  \
    X(qryStok, TERAZI_PLU) X(qryStok, KRITIK_SEVIYE) X(qryStok, BIRIM_AGIRLIK_FIYAT)               \
    X(qryStok, AGIRLIK) X(qryStok, KAPMANYA) X(qryStok, KMP_M) X(qryStok, KMP_M2)
#define TDM_QRYGRUBU_FIELDS(X)                                                                     \
    X(qryGrubu, GRUBU_ID) X(qryGrubu, GRUBU) X(qryGrubu, SIRA_NO) X(qryGrubu, KISA_YOL)
#define TDM_QRYCARI_FIELDS(X)                                                                      \
    X(qryCari, CARI_ID) X(qryCari, CARI_KODU) X(qryCari, CARI_ADI) X(qryCari, TELEFON)             \
    X(qryCari, BORC) X(qryCari, ALACAK) X(qryCari, BAKIYE) X(qryCari, TELEFON2)                    \
    X(qryCari, VERGI_NO) X(qryCari, VERGI_DAIRESI) X(qryCari, ADRES) X(qryCari, ADRES2)            \
    X(qryCari, ACIKLAMA) X(qryCari, AKTIFLIK)

#define TDM_DECLARE_FIELD(query, column) korvat::Field& query##column;

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

private:
    // Shared by the objects below, so declared before them.
    korvat::RegionalSettings m_regionalSettings;
    korvat::TableInfoCache m_tableInfo;

public:
    korvat::Connection IBDatabase1;
    korvat::Query qryStok;
    TDM_QRYSTOK_FIELDS(TDM_DECLARE_FIELD)
    korvat::DataSource ds_qryStok;
    korvat::Query qryGrubu;
    TDM_QRYGRUBU_FIELDS(TDM_DECLARE_FIELD)
    korvat::DataSource Ds_qryGrubu;
    korvat::Query qryCari;
    TDM_QRYCARI_FIELDS(TDM_DECLARE_FIELD)
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

#undef TDM_DECLARE_FIELD

// The one data module of the program, set once it has been created.
extern Tdm* dm;
