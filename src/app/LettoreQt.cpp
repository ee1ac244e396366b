#include "app/LettoreQt.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibrary>

#ifdef __EMSCRIPTEN__
#include "suoni/LettoreEffetti.h"
#endif

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
#ifdef __EMSCRIPTEN__
        // The browser has no libraries to load: the player is linked into the page.
        lettore_.reset(tivoro_crea_lettore(&predefinito_));
#else
        // Only a regular file is handed to the loader: opening a FIFO put in the module's
        // place would block the program until someone writes into it.
        const QFileInfo file(cartella_ + QStringLiteral("/" TIVORO_MODULO_SUONI));
        if (!file.isFile()) {
            qWarning("Tivoro: no sounds but the default one: %s %s", qPrintable(file.filePath()),
                     file.exists() ? "is not a regular file" : "is missing");
        } else {
            // The library stays loaded for the rest of the run: the player comes from it.
            QLibrary modulo(file.filePath());
            using Crea = LettoreSuoni* (*)(const std::function<void()>*);
            if (auto crea = reinterpret_cast<Crea>(modulo.resolve("tivoro_crea_lettore")))
                lettore_.reset(crea(&predefinito_));
            else
                qWarning("Tivoro: no sounds but the default one: %s", qPrintable(modulo.errorString()));
        }
#endif
    }
    if (lettore_)
        lettore_->Suona(percorso);
    else
        predefinito_();
}
