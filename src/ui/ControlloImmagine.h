#pragma once
// An image control: shows a picture file, or a picture the program carries, stretched to
// its box, and carries a tag text.
// For screen readers it is a picture named by what it shows; an empty control is not
// shown to them at all.
#include <QImage>
#include <QPixmap>
#include <QWidget>

class ControlloImmagine : public QWidget {
    Q_OBJECT
public:
    ControlloImmagine(QWidget* padre, const QString& nome, const QRect& twips);

    // Loads the picture of a file (decoded once per run at this control's size) and
    // shows it; `nome` is what a screen reader says of it ("mela").
    void ImpostaFigura(const QString& percorso, const QString& nome = QString());
    // Shows a picture the program carries (Controlli::Figurina), scaled as a file's is.
    void ImpostaFigura(const QImage& figura, const QString& nome = QString());
    // Decodes the picture of a file at this control's size without showing it, so that
    // it shows at once when set, here or in a control of the same size.
    void Prepara(const QString& percorso) const;
    // Removes the picture: the control shows nothing.
    void Svuota();

    // The file shown, if any.
    QString Figura() const { return percorso_; }
    bool Vuoto() const { return percorso_.isEmpty() && propria_.isNull(); }

    QString Tag;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    // The control's size in device pixels.
    QSize Dispositivo() const;
    // Tells screen readers that the control appeared or went from their view.
    void AnnunciaVisibilita();
    // The picture changed: its name, if given, for screen readers, who are told too when
    // the control appears or goes; then it is drawn again.
    void Cambiata(bool eraVuoto, const QString& nome);

    QString percorso_;
    QImage propria_;  // a picture the program carries
    QPixmap scalata_; // that picture at the control's size in device pixels
};
