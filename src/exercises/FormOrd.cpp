#include "exercises/FormOrd.h"

#include "app/Casuale.h"
#include "app/Modulo1.h"
#include "app/ModuloColoriSuoni.h"
#include "ui/Controlli.h"
#include "ui/Casella.h"
#include "ui/Tessera.h"
#include "ui/Twips.h"

#include <QWidget>

#include <algorithm>

namespace {
constexpr int AltoCaselle = 1320;
constexpr int AltoTessere = 3480;
constexpr int Lato = 1005;

// The keys go through the boxes from the left, then the tiles as they stand from the
// left, then "avanti"; a new game starts with the focus on the leftmost tile.
void OrdineTab(FormOrd& f)
{
    std::array<Tessera*, 9> tessere = f.Label3;
    std::sort(tessere.begin(), tessere.end(), [](Tessera* a, Tessera* b) { return a->x() < b->x(); });
    QWidget* prima = nullptr;
    auto segue = [&prima](QWidget* w) {
        if (prima)
            QWidget::setTabOrder(prima, w);
        prima = w;
    };
    for (Casella* c : f.Label4)
        segue(c);
    for (Tessera* t : tessere)
        segue(t);
    segue(f.BottoneAvanti);
    tessere.front()->setFocus(Qt::OtherFocusReason);
}

// Shows a text in a box (empty for an empty box); its name tells a screen reader its place
// and what it shows ("casella 3, vuota", "casella 3: 3").
void MostraCasella(Casella* c, const QString& testo)
{
    c->setText(testo);
    const QString posto = QStringLiteral("casella %1").arg(c->Indice() + 1);
    c->setAccessibleName(testo.isEmpty() ? posto + QStringLiteral(", vuota") : posto + QStringLiteral(": ") + testo);
}
} // namespace

FormOrd::FormOrd() : FormEsercizio(DatiCornice::RigaInAlto("FormOrd"))
{
    QWidget* c = Client();
    const QFont numeri = Controlli::Carattere(QStringLiteral("Arial"), 36);
    for (int i = 0; i < 9; ++i) {
        auto* casella = new Casella(c, Controlli::NomeElemento("Label4", i),
                                    QRect(SinistraPosto(i), AltoCaselle, Lato, Lato), numeri, i);
        MostraCasella(casella, QString());
        connect(casella, &Casella::Rilasciata, this,
                [this](int indice, Tessera* t) { Label4_DragDrop(std::int16_t(indice), t); });
        Label4[std::size_t(i)] = casella;
    }
    // The tiles get their places and numbers from ScombiccheraPosti; tile i always
    // carries i + 1, blank or not.
    for (int i = 0; i < 9; ++i) {
        auto* t = new Tessera(c, Controlli::NomeElemento("Label3", i), QRect(0, AltoTessere, Lato, Lato), numeri);
        t->setAccessibleName(QStringLiteral("numero %1").arg(i + 1));
        connect(t, &Tessera::Sollevata, this, [t](bool sollevata) {
            t->setAccessibleDescription(sollevata ? QStringLiteral("preso") : QString());
        });
        Label3[std::size_t(i)] = t;
    }
    Form_Load();
}

void FormOrd::Form_Load() { Apertura(); }

void FormOrd::NuovaDomanda()
{
    CaricaColori();
    sistemati_ = 0;
    for (Tessera* t : Label3) {
        t->Posa();
        t->setEnabled(true);
    }
    for (Casella* c : Label4)
        MostraCasella(c, QString());
    ScombiccheraPosti();
    OrdineTab(*this);
}

void FormOrd::ScombiccheraPosti()
{
    // A Left of 0 marks a tile that has no place yet.
    for (int i = 0; i < 9; ++i) {
        Tessera* t = Label3[std::size_t(i)];
        t->move(0, t->y());
        t->setText(QString::number(i + 1));
    }
    // One draw per place; from the drawn tile the search runs forward to the first
    // tile without a place, from the last back to the first.
    for (int j = 0; j < 9; ++j) {
        int b = Casuale::Indice(9);
        while (Label3[std::size_t(b)]->x() != 0) {
            ++b;
            if (b == 9)
                b = 0;
        }
        Tessera* t = Label3[std::size_t(b)];
        t->move(Twips::Px(SinistraPosto(j)), t->y());
    }
}

void FormOrd::Label4_DragDrop(std::int16_t Index, Tessera* Source)
{
    const auto it = std::find(Label3.begin(), Label3.end(), Source);
    if (Source == nullptr || it == Label3.end() || Index < 0 || Index > 8 || !Source->isEnabled())
        return; // only this window's tiles still in play, on its boxes
    const auto tessera = std::size_t(it - Label3.begin());
    Casella* casella = Label4[std::size_t(Index)];

    if (tessera == std::size_t(Index)) {
        MostraCasella(casella, Source->text());
        Source->clear();
        if (ColoreSfondo() == 0)
            CaricaColori();
        ComandoIconaSi->show();
        ComandoIconaNo->hide();
        Source->setEnabled(false);
        Modulo1::Aggiungi(Modulo1::NumeroEsatti);
        MostraConteggio(EtichettaEsatti, TestoConteggio(Modulo1::NumeroEsatti));
        ++sistemati_;
        if (sistemati_ == 9)
            BottoneAvanti->setEnabled(true);
    } else {
        ComandoIconaNo->show();
        ComandoIconaSi->hide();
        Modulo1::Aggiungi(Modulo1::NumeroErrati);
        MostraConteggio(EtichettaErrati, TestoConteggio(Modulo1::NumeroErrati));
        ImpostaColoreSfondo(0);
        ModuloColoriSuoni::SuonoErrato();
    }
}
