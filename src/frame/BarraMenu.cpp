#include "frame/BarraMenu.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPointer>
#include <QShortcut>

namespace {
// An item of the bar for screen readers. Qt names an item by its whole caption; this
// one is named without the trailing blanks and otherwise behaves as Qt's own: a menu
// item that can be pressed, focused while the bar is in keyboard mode on it.
class VoceAccessibile : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    VoceAccessibile(QAction* voce, BarraMenu* barra) : voce_(voce), barra_(barra) {}

    bool isValid() const override { return voce_ && barra_; }
    QObject* object() const override { return voce_; }
    QWindow* window() const override
    {
        return barra_ ? barra_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(barra_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return BarraMenu::NomeVoce(voce_);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = barra_->actionGeometry(voce_);
        return QRect(barra_->mapToGlobal(r.topLeft()), r.size());
    }

    QAccessible::Role role() const override { return QAccessible::MenuItem; }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.focusable = true;
        s.disabled = !voce_->isEnabled();
        s.invisible = !voce_->isVisible() || !barra_->isVisible();
        const bool attiva = barra_->activeAction() == voce_;
        s.hotTracked = attiva;
        s.focused = attiva && barra_->hasFocus();
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType tipo) override
    {
        if (tipo == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& azione) override
    {
        // Later, from the event loop: the item may open a message box, and the screen
        // reader waits for this call to return.
        if (azione == pressAction() && isValid() && voce_->isEnabled())
            QMetaObject::invokeMethod(voce_.data(), &QAction::trigger, Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QAction> voce_;
    QPointer<BarraMenu> barra_;
};

QAccessibleInterface* Fabbrica(const QString& classe, QObject* oggetto)
{
    if (classe != QLatin1String("QAction"))
        return nullptr;
    auto* voce = static_cast<QAction*>(oggetto);
    if (auto* barra = qobject_cast<BarraMenu*>(voce->parent()))
        return new VoceAccessibile(voce, barra);
    return nullptr;
}
} // namespace

BarraMenu::BarraMenu(QMainWindow* finestra) : QMenuBar(finestra)
{
    static const bool fabbricaInstallata = (QAccessible::installFactory(&Fabbrica), true);
    Q_UNUSED(fabbricaInstallata);
    setNativeMenuBar(false);
    setObjectName(QStringLiteral("menuBar"));
    setAccessibleName(QStringLiteral("menù"));
    // F10 does what Alt does, for those used to it; it changes no caption.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), finestra);
    f10->setContext(Qt::WindowShortcut);
    connect(f10, &QShortcut::activated, this, [this] { AttivaDaTastiera(); });
}

QAction* BarraMenu::Voce(const QString& didascalia, const QString& nome)
{
    QAction* a = addAction(didascalia);
    a->setObjectName(nome);
    return a;
}

QString BarraMenu::NomeVoce(const QAction* voce) { return voce->text().trimmed(); }

void BarraMenu::AttivaDaTastiera()
{
    // The bar has no public way into its keyboard mode: it enters it (or leaves it) on
    // the release of an Alt pressed alone, which it watches for on its window. Qt
    // reports a lone Alt's press with no modifier and its release with Alt held.
    QWidget* finestra = window();
    QKeyEvent premuto(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(finestra, &premuto);
    QKeyEvent lasciato(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(finestra, &lasciato);
}
