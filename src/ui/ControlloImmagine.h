#pragma once
// An image control: shows a picture file stretched to its box and carries a tag text.
#include <QWidget>

class ControlloImmagine : public QWidget {
    Q_OBJECT
public:
    ControlloImmagine(QWidget* padre, const QString& nome, const QRect& twips);

    // Loads the picture of a file (decoded once per run) and shows it.
    void ImpostaFigura(const QString& percorso);
    // Removes the picture: the control shows nothing.
    void Svuota();

    QString Figura() const { return percorso_; }
    bool Vuoto() const { return percorso_.isEmpty(); }

    QString Tag;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString percorso_;
};
