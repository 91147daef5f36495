// The three transfers of the main window and their opening entries. Each
// reads like the steps it carries out; the data work lives in the data layer.
#include "DialogService.h"
#include "ErrorText.h"
#include "GridBinding.h"
#include "TransferGuard.h"
#include "TransferScope.h"
#include "u_L_Devir.h"
#include "u_dm.h"

#include <QCheckBox>
#include <QLocale>
#include <QTabWidget>

#include <array>

namespace {

// A source field and the name under which its target field is looked up.
struct FieldCopy {
    korvat::Field& source;
    const char16_t* targetName;
};

// Sets the target's new rows, field by field in the order given, from the
// source fields' text forms. Each target field is found by its name at the
// first row and kept for the rest of the transfer: the fields stay while the
// data set stays open.
template <std::size_t N> class RowCopy {
public:
    RowCopy(korvat::EditableDataSet& target, const std::array<FieldCopy, N>& copies)
        : m_target(target), m_copies(copies)
    {
    }

    korvat::EditableDataSet& target() { return m_target; }

    void copy()
    {
        for (std::size_t i = 0; i < N; ++i) {
            if (!m_targetFields[i])
                m_targetFields[i] = &m_target.fieldByName(m_copies[i].targetName);
            m_targetFields[i]->setAsString(m_copies[i].source.asString());
        }
    }

private:
    korvat::EditableDataSet& m_target;
    const std::array<FieldCopy, N>& m_copies;
    std::array<korvat::Field*, N> m_targetFields{};
};

// Appends a row to the target, sets it from the source, counts it on the bar
// and posts it. A row that fails before its post succeeded (a missing field,
// a text the field refuses, a post the target refuses) is dropped before the
// error goes on: left pending, the next append would store it half-filled,
// without its opening entry.
template <std::size_t N> void carryRow(RowCopy<N>& rowCopy, ProgressBar& bar)
{
    korvat::EditableDataSet& target = rowCopy.target();
    target.append();
    try {
        rowCopy.copy();
        bar.setPosition(bar.position() + 1);
        target.post();
    } catch (...) {
        if (target.state() == korvat::DataSetState::Insert)
            target.cancel();
        throw;
    }
}

// Walks the source from its current row to its end, or to a stop asked by a
// termination signal, carrying each row whose code the target lacks under
// the line that would name it in an error. A walk that was not stopped is
// committed before the operator is told: a closing message never stands for
// rows that a later failure or a lost server could still take away.
template <typename Carry>
void carryEach(korvat::DataSet& source, korvat::Field& code, const QString& kind, const CarriedRows& carried,
               TransferScope& scope, TransferGuard& guard, korvat::Transaction& transaction, Carry carry)
{
    while (!source.eof() && !guard.stopRequested()) {
        if (!carried.inTarget(code.asString())) {
            scope.beginRow(rowFailureLine(kind, code.asString()));
            carry();
            scope.endRow();
        }
        source.next();
        guard.keepPainting();
    }
    if (!guard.stopRequested())
        transaction.commitRetaining();
}

// The closing message of an account transfer, with the accounts whose
// opening entry could not be written, the first twenty by code.
QString withFailedEntries(const QString& message, const QStringList& codes)
{
    if (codes.isEmpty())
        return message;
    constexpr int listed = 20;
    return QStringLiteral("%1\n%2 cari hesabın açılış hareketi yazılamadı:\n%3")
        .arg(message, QLocale().toString(codes.size()), codes.mid(0, listed).join(QStringLiteral(", ")));
}

}  // namespace

// Each transfer's bar counts every row it will carry, as the server counts
// them when it starts; the rows a grid happened to fetch would fill it long
// before the end of a large source.

void TL_Devir::Button1Click()
{
    if (!MesajSet())
        return;
    if (OnayVerilmedi(QStringLiteral("Grubu")))
        return;
    const std::optional<CarriedRows> carried =
        eksikleriSor(QStringLiteral("Grubu"), dm->qryGrubu, dm->Q_Grubu, QStringLiteral("GRUBU"));
    if (!carried)
        return;
    hedefiYedekle();
    PageControl1->setCurrentWidget(tbGrubu);
    PageControl2->setCurrentWidget(tbGrubu2);
    TransferGuard guard(this, m_gridBindings, ProgressBar1);

    const std::array<FieldCopy, 3> copies = {{
        {dm->qryGrubuGRUBU, u"grubu"},
        {dm->qryGrubuSIRA_NO, u"sira_no"},
        {dm->qryGrubuKISA_YOL, u"kisa_yol"},
    }};
    RowCopy rows(dm->Q_Grubu, copies);
    ProgressBar1->setMaximumPosition(dm->qryGrubu.serverRowCount() - carried->alreadyInTarget());
    dm->qryGrubu.first();
    ProgressBar1->setPosition(0);
    TransferScope scope(dm->IBDatabase2, dm->IBTransaction1, dm->Q_Grubu);
    scope.run([&] {
        carryEach(dm->qryGrubu, dm->qryGrubuGRUBU, QStringLiteral("Grup"), *carried, scope, guard,
                  dm->IBTransaction1, [&] { carryRow(rows, *ProgressBar1); });
    });
    if (guard.stopRequested()) {
        scope.undo();  // the program ends: its end commits the earlier transfers' rows
        return;
    }
    if (ProgressBar1->position() == ProgressBar1->maximumPosition())
        Bildir(QStringLiteral("Gruplar aktarıldı"));
}

void TL_Devir::Button2Click()
{
    if (!MesajSet())
        return;
    if (OnayVerilmedi(QStringLiteral("Stok")))
        return;
    const std::optional<CarriedRows> carried =
        eksikleriSor(QStringLiteral("Stok"), dm->qryStok, dm->Q_Stok, QStringLiteral("STOK_KODU"));
    if (!carried)
        return;
    hedefiYedekle();
    PageControl1->setCurrentWidget(tbStok);
    PageControl2->setCurrentWidget(tbStok2);
    TransferGuard guard(this, m_gridBindings, ProgressBar1);

    const std::array<FieldCopy, 29> copies = {{
        {dm->qryStokSTOK_KODU, u"Stok_kodu"},
        {dm->qryStokSTOK_ADI, u"stok_adi"},
        {dm->qryStokGRUBU, u"grubu"},
        {dm->qryStokEK_MENU, u"ek_menu"},
        {dm->qryStokSATIS_FIYATI, u"satis_fiyati"},
        {dm->qryStokALIS_FIYATI, u"alis_fiyati"},
        {dm->qryStokSIRA_NO, u"sira_no"},
        {dm->qryStokRESIM_YERI, u"resim_yeri"},
        {dm->qryStokBIRIM, u"birim"},
        {dm->qryStokSTOK_TIPI, u"stok_tipi"},
        {dm->qryStokAKTIFLIK, u"aktiflik"},
        {dm->qryStokBARKOD, u"barkod"},
        {dm->qryStokKISA_YOL, u"kisa_yol"},
        {dm->qryStokKDV, u"kdv"},
        {dm->qryStokSATIS_ISKONTO, u"satis_iskonto"},
        {dm->qryStokALIS_ISKONTO, u"alis_iskonto"},
        {dm->qryStokA_KDV, u"a_kdv"},
        {dm->qryStokS_KDV, u"s_kdv"},
        {dm->qryStokACIKLAMA, u"aciklama"},
        {dm->qryStokKAR_MARJI, u"kar_marji"},
        {dm->qryStokYERLI_URUN_FT, u"yerli_urun_ft"},
        {dm->qryStokAGIRLIK_TIPI, u"agirlik_tipi"},
        {dm->qryStokTERAZI_PLU, u"terazi_plu"},
        {dm->qryStokKRITIK_SEVIYE, u"kritik_seviye"},
        {dm->qryStokBIRIM_AGIRLIK_FIYAT, u"birim_agirlik_fiyat"},
        {dm->qryStokAGIRLIK, u"agirlik"},
        {dm->qryStokKAPMANYA, u"kapmanya"},
        {dm->qryStokKMP_M, u"kmp_m"},
        {dm->qryStokKMP_M2, u"kmp_m2"},
    }};
    RowCopy rows(dm->Q_Stok, copies);
    ProgressBar1->setMaximumPosition(dm->qryStok.serverRowCount() - carried->alreadyInTarget());
    ProgressBar1->setPosition(0);
    dm->qryStok.first();
    TransferScope scope(dm->IBDatabase2, dm->IBTransaction1, dm->Q_Stok);
    scope.run([&] {
        carryEach(dm->qryStok, dm->qryStokSTOK_KODU, QStringLiteral("Stok kartı"), *carried, scope, guard,
                  dm->IBTransaction1, [&] {
                      // A card and its opening entry are one row: the entry's
                      // failure undoes the card too. A skipped card gets no entry.
                      carryRow(rows, *ProgressBar1);
                      StokHareketAktar();
                  });
    });
    if (guard.stopRequested()) {
        scope.undo();  // the program ends: its end commits the earlier transfers' rows
        return;
    }
    Bildir(QStringLiteral("Stoklar aktarıldı"));
}

void TL_Devir::StokHareketAktar()
{
    if (!chStokBakiye->isChecked())
        return;
    if (ch_PozitifStok->isChecked() && !(dm->qryStokENVANTER.asFloat() > 0))
        return;

    korvat::FreeStatement& qry = dm->qry;
    qry.close();
    qry.clearText();
    qry.addLine(QStringLiteral("insert into t_stok_hareket (stok_id,turu_id,kayit_id,fiyat,tarih,giren) "));
    qry.addLine(QStringLiteral("values (:stok_id,:turu_id,:kayit_id,:fiyat,:tarih,:giren) "));
    // The entry belongs to the card just posted in the target, under the key
    // its generator gave; the source key would name another card or none.
    qry.paramByName(QStringLiteral("stok_id")).setAsString(dm->Q_Stok.fieldByName(u"stok_id").asString());
    qry.paramByName(QStringLiteral("turu_id")).setAsString(QStringLiteral("8"));
    qry.paramByName(QStringLiteral("kayit_id")).setAsString(QStringLiteral("1"));
    qry.paramByName(QStringLiteral("tarih")).setAsDateTime(transferDayStart());
    qry.paramByName(QStringLiteral("giren")).setAsFloat(dm->qryStokENVANTER.asFloat());
    // The first positive of the last purchase price, the purchase price and the cost.
    if (dm->qryStokSON_ALIS.asFloat() > 0)
        qry.paramByName(QStringLiteral("fiyat")).setAsFloat(dm->qryStokSON_ALIS.asFloat());
    else if (dm->qryStokALIS_FIYATI.asFloat() > 0)
        qry.paramByName(QStringLiteral("fiyat")).setAsFloat(dm->qryStokALIS_FIYATI.asFloat());
    else if (dm->qryStokMALIYET.asFloat() > 0)
        qry.paramByName(QStringLiteral("fiyat")).setAsFloat(dm->qryStokMALIYET.asFloat());
    qry.execute();
}

void TL_Devir::Button3Click()
{
    if (!MesajSet())
        return;
    if (OnayVerilmedi(QStringLiteral("Cari")))
        return;
    const std::optional<CarriedRows> carried =
        eksikleriSor(QStringLiteral("Cari"), dm->qryCari, dm->Q_Cari, QStringLiteral("CARI_KODU"));
    if (!carried)
        return;
    hedefiYedekle();
    PageControl1->setCurrentWidget(tbCari);
    PageControl2->setCurrentWidget(tbCari2);
    TransferGuard guard(this, m_gridBindings, ProgressBar1);

    const std::array<FieldCopy, 10> copies = {{
        {dm->qryCariCARI_KODU, u"Cari_kodu"},
        {dm->qryCariCARI_ADI, u"Cari_adi"},
        {dm->qryCariTELEFON, u"telefon"},
        {dm->qryCariTELEFON2, u"telefon2"},
        {dm->qryCariVERGI_NO, u"vergi_no"},
        {dm->qryCariVERGI_DAIRESI, u"vergi_dairesi"},
        {dm->qryCariADRES, u"adres"},
        {dm->qryCariADRES2, u"adres2"},
        {dm->qryCariACIKLAMA, u"aciklama"},
        // Carried accounts stay active: without it they are stored with no
        // flag, and the product, like the lower grid, lists active ones only.
        {dm->qryCariAKTIFLIK, u"aktiflik"},
    }};
    RowCopy rows(dm->Q_Cari, copies);
    ProgressBar1->setMaximumPosition(dm->qryCari.serverRowCount() - carried->alreadyInTarget());
    dm->qryCari.first();
    ProgressBar1->setPosition(0);
    TransferScope scope(dm->IBDatabase2, dm->IBTransaction1, dm->Q_Cari);
    m_failedEntryCodes.clear();
    const bool completed = scope.run([&] {
        carryEach(dm->qryCari, dm->qryCariCARI_KODU, QStringLiteral("Cari hesap"), *carried, scope, guard,
                  dm->IBTransaction1, [&] {
                      carryRow(rows, *ProgressBar1);
                      CariHareketAktar();  // its failures are told there: the transfer goes on
                  });
    });
    if (guard.stopRequested()) {
        scope.undo();  // the program ends: its end commits the earlier transfers' rows
        return;
    }
    if (!completed) {
        Bildir(QStringLiteral("Bu aktarımda yazılan kayıtlar geri alındı."));
        return;
    }
    Bildir(withFailedEntries(QStringLiteral("Cariler aktarıldı"), m_failedEntryCodes));
}

void TL_Devir::CariHareketAktar()
{
    try {
        korvat::FreeStatement& qry = dm->qry;
        qry.close();
        qry.clearText();
        qry.addLine(QStringLiteral("insert into t_dekont_hareket (cari_id,turu_id,tarih,giren,cikan) "));
        qry.addLine(QStringLiteral("values (:cari_id,:turu_id,:tarih,:giren,:cikan) "));
        // The entry belongs to the account just posted in the target, under
        // its new key, not the source's.
        qry.paramByName(QStringLiteral("cari_id")).setAsString(dm->Q_Cari.fieldByName(u"cari_id").asString());
        qry.paramByName(QStringLiteral("tarih")).setAsDateTime(transferDateTime());
        // The account opens with its balance: the debit and credit totals
        // of the old year are not the new year's opening amount.
        const double bakiye = dm->qryCariBAKIYE.asFloat();
        if (!(bakiye <= 0)) {  // a debit balance, or one that is no number
            qry.paramByName(QStringLiteral("giren")).setAsFloat(bakiye);
            qry.paramByName(QStringLiteral("cikan")).setAsFloat(0);
            qry.paramByName(QStringLiteral("turu_id")).setAsString(QStringLiteral("1"));
        } else if (bakiye < 0) {
            qry.paramByName(QStringLiteral("cikan")).setAsFloat(-bakiye);
            qry.paramByName(QStringLiteral("giren")).setAsFloat(0);
            qry.paramByName(QStringLiteral("turu_id")).setAsString(QStringLiteral("2"));
        }
        qry.execute();
    } catch (const std::exception& error) {
        // The account stays carried without its entry. The first failure is
        // told with its reason and the operator decides whether to go on;
        // the rest are summed up in the closing message, not one box each.
        m_failedEntryCodes.append(codeOrNone(dm->qryCariCARI_KODU.asString()));
        if (m_failedEntryCodes.size() > 1)
            return;
        ProgressBar1->showPosition();
        const QString question = QStringLiteral("Sanırım bir sorun oluştu\n%1: %2\nDevam edilsin mi?")
                                     .arg(m_failedEntryCodes.first(), messageForErrorBox(error));
        if (dialogs().messageBox(this, QString(), question, DialogButtons::YesNo, DialogIcon::None) ==
            DialogButton::No)
            throw TransferScope::Stopped();
    }
}
