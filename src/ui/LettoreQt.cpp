#include "ui/LettoreQt.h"

#include <QApplication>
#include <QLibrary>

LettoreQt::LettoreQt(std::function<void()> suonoPredefinito, QString cartellaModulo)
    : predefinito_(std::move(suonoPredefinito)), cartella_(std::move(cartellaModulo))
{
    if (!predefinito_)
        predefinito_ = [] { QApplication::beep(); };
    if (cartella_.isEmpty())
        cartella_ = QCoreApplication::applicationDirPath();
}

LettoreQt::~LettoreQt() = default;

void LettoreQt::Suona(const QString& percorso)
{
    if (!provato_) {
        provato_ = true;
        // The library stays loaded for the rest of the run: the player comes from it.
        QLibrary modulo(cartella_ + QStringLiteral("/tivoro_suoni"));
        using Crea = LettoreSuoni* (*)(const std::function<void()>*);
        if (auto crea = reinterpret_cast<Crea>(modulo.resolve("tivoro_crea_lettore")))
            lettore_.reset(crea(&predefinito_));
        else
            qWarning("Tivoro: no sounds but the default one: %s", qPrintable(modulo.errorString()));
    }
    if (lettore_)
        lettore_->Suona(percorso);
    else
        predefinito_();
}
