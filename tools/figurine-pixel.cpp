// Build-time tool: writes the pictures of assets/icone into a C++ source as ready pixels
// (32-bit ARGB, premultiplied, as Qt keeps a picture with transparency), so that the
// program shows them without decoding a PNG file at run time.
//
//   figurine-pixel OUTPUT.cpp PICTURE.png...
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: figurine-pixel OUTPUT.cpp PICTURE.png...\n");
        return 2;
    }
    QByteArray testo = "// Written at build time by tools/figurine-pixel.cpp from assets/icone: do not edit.\n"
                       "#include \"ui/FigurinePixel.h\"\n\nnamespace FigurinePixel {\nnamespace {\n";
    QByteArray elenco;
    for (int i = 2; i < argc; ++i) {
        const QString percorso = QFile::decodeName(argv[i]);
        const QImage figura = QImage(percorso, "png").convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (figura.isNull()) {
            std::fprintf(stderr, "figurine-pixel: %s is not a readable PNG picture\n", argv[i]);
            return 1;
        }
        const QByteArray nome = QFileInfo(percorso).completeBaseName().toUtf8();
        testo += "const std::uint32_t p" + QByteArray::number(i) + "[] = {";
        for (int y = 0; y < figura.height(); ++y) {
            const auto* riga = reinterpret_cast<const std::uint32_t*>(figura.constScanLine(y));
            testo += "\n";
            for (int x = 0; x < figura.width(); ++x)
                testo += "0x" + QByteArray::number(riga[x], 16) + "u,";
        }
        testo += "};\n";
        elenco += "    {\"" + nome + "\", " + QByteArray::number(figura.width()) + ", " +
                  QByteArray::number(figura.height()) + ", p" + QByteArray::number(i) + "},\n";
    }
    testo += "} // namespace\n\nconst Figurina Tutte[] = {\n" + elenco + "};\nconst std::size_t Numero = " +
             QByteArray::number(argc - 2) + ";\n\n} // namespace FigurinePixel\n";

    QFile uscita(QFile::decodeName(argv[1]));
    if (!uscita.open(QIODevice::WriteOnly | QIODevice::Truncate) || uscita.write(testo) != testo.size()) {
        std::fprintf(stderr, "figurine-pixel: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
