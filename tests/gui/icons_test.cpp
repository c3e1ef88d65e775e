// Checks the icons compiled into the ":/icons" resources (tool bar buttons, program and document
// window icons) and the desktop entry that names the program icon.
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QSet>
#include <QStringDecoder>
#include <QSvgRenderer>
#include <QtTest>

namespace {

struct IconSpec {
    const char* name;
    int viewSize; // side of the square viewBox, in the icon's own units
};

// The 21 tool bar buttons in tool bar order, then the program and document window icons.
constexpr IconSpec kIcons[] = {
    {"file-new", 20},
    {"file-open", 20},
    {"file-save", 20},
    {"file-print", 20},
    {"speak", 20},
    {"read-from-caret", 20},
    {"pause", 20},
    {"stop", 20},
    {"readings", 20},
    {"speech-settings", 20},
    {"word-registration", 20},
    {"edit-cut", 20},
    {"edit-copy", 20},
    {"edit-paste", 20},
    {"window-tile-horizontal", 20},
    {"window-tile-vertical", 20},
    {"window-cascade", 20},
    {"screen-font", 20},
    {"find", 20},
    {"replace", 20},
    {"help-contents", 20},
    {"app", 48},
    {"document", 32},
};

// Typical light and dark tool bar backgrounds.
const QColor kLightBar(0xf0, 0xf0, 0xf0);
const QColor kDarkBar(0x2d, 0x2d, 0x2d);

QString ResourcePath(const QString& name) {
    return QStringLiteral(":/icons/%1.svg").arg(name);
}

// Renders the whole viewBox into a size x size image over the given background.
QImage Render(QSvgRenderer& renderer, int size, const QColor& background) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

int CountOpaque(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) >= 128)
                ++count;
    return count;
}

// Pixels that stand out clearly from a plain background: some channel differs by a third of its
// range, so the shape is still seen on that tool bar.
int CountStandingOut(const QImage& image, const QColor& background) {
    constexpr int kStep = 85;
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAbs(qRed(p) - background.red()) >= kStep ||
                qAbs(qGreen(p) - background.green()) >= kStep ||
                qAbs(qBlue(p) - background.blue()) >= kStep)
                ++count;
        }
    }
    return count;
}

} // namespace

class IconsTest : public QObject {
    Q_OBJECT

private slots:
    void rendersClearly_data();
    void rendersClearly();
    void iconsDifferFromEachOther();
    void programIconScales();
    void resourcesMatchTheFilesOnDisk();
    void desktopEntryIsWellFormed();
};

void IconsTest::rendersClearly_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("viewSize");
    for (const IconSpec& icon : kIcons)
        QTest::newRow(icon.name) << QString::fromLatin1(icon.name) << icon.viewSize;
}

// Each icon loads, has the expected square canvas, draws within it, covers a fair part of it at
// tool bar size and stays visible on both a light and a dark tool bar.
void IconsTest::rendersClearly() {
    QFETCH(QString, name);
    QFETCH(int, viewSize);

    QFile file(ResourcePath(name));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray svg = file.readAll();
    // Glyphs are drawn as paths: a <text> element would depend on the fonts of the machine.
    QVERIFY2(!svg.contains("<text"), qPrintable(name));

    QSvgRenderer renderer(svg);
    QVERIFY2(renderer.isValid(), qPrintable(name));
    QCOMPARE(renderer.viewBox(), QRect(0, 0, viewSize, viewSize));

    const int side = 20;
    const QImage plain = Render(renderer, side, Qt::transparent);
    const int opaque = CountOpaque(plain);
    QVERIFY2(opaque >= side * side / 5,
             qPrintable(QStringLiteral("%1: only %2 opaque pixels").arg(name).arg(opaque)));

    const int onLight = CountStandingOut(Render(renderer, side, kLightBar), kLightBar);
    const int onDark = CountStandingOut(Render(renderer, side, kDarkBar), kDarkBar);
    QVERIFY2(
        onLight >= side * side / 8,
        qPrintable(QStringLiteral("%1: %2 pixels show on a light bar").arg(name).arg(onLight)));
    QVERIFY2(onDark >= side * side / 8,
             qPrintable(QStringLiteral("%1: %2 pixels show on a dark bar").arg(name).arg(onDark)));

    // Nothing is drawn outside the viewBox: render it into the middle of a canvas three times
    // as wide and expect the border around it to stay empty.
    QImage canvas(3 * side, 3 * side, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        renderer.render(&painter, QRectF(side, side, side, side));
    }
    const QImage clipped = canvas.convertToFormat(QImage::Format_ARGB32);
    int outside = 0;
    for (int y = 0; y < clipped.height(); ++y)
        for (int x = 0; x < clipped.width(); ++x)
            if (!QRect(side, side, side, side).contains(x, y) && qAlpha(clipped.pixel(x, y)) > 0)
                ++outside;
    QVERIFY2(outside == 0,
             qPrintable(QStringLiteral("%1: %2 pixels outside its canvas").arg(name).arg(outside)));
}

// No two icons look alike at tool bar size, so no button was given another's picture.
void IconsTest::iconsDifferFromEachOther() {
    QMap<QString, QImage> images;
    for (const IconSpec& icon : kIcons) {
        QSvgRenderer renderer(ResourcePath(QString::fromLatin1(icon.name)));
        QVERIFY(renderer.isValid());
        images.insert(QString::fromLatin1(icon.name), Render(renderer, 20, Qt::transparent));
    }
    QCOMPARE(images.size(), int(std::size(kIcons)));
    for (auto a = images.cbegin(); a != images.cend(); ++a) {
        for (auto b = std::next(a); b != images.cend(); ++b) {
            int differing = 0;
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 20; ++x)
                    if (a.value().pixel(x, y) != b.value().pixel(x, y))
                        ++differing;
            QVERIFY2(differing >= 20, qPrintable(QStringLiteral("%1 and %2 differ in %3 pixels")
                                                     .arg(a.key(), b.key())
                                                     .arg(differing)));
        }
    }
}

// The program icon is used from a 16 pixel task bar entry up to a 256 pixel launcher tile.
void IconsTest::programIconScales() {
    QSvgRenderer renderer(ResourcePath(QStringLiteral("app")));
    QVERIFY(renderer.isValid());
    for (int side : {16, 32, 64, 256}) {
        const int opaque = CountOpaque(Render(renderer, side, Qt::transparent));
        QVERIFY2(opaque >= side * side / 3,
                 qPrintable(QStringLiteral("%1 px: %2 opaque pixels").arg(side).arg(opaque)));
    }
}

// Every icon in resources/icons is compiled in, and the resources hold no icon that is not there.
void IconsTest::resourcesMatchTheFilesOnDisk() {
    const QDir disk(QStringLiteral(YOMI6_SOURCE_DIR "/resources/icons"));
    QVERIFY2(disk.exists(), qPrintable(disk.path()));
    const QStringList onDisk = disk.entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
    const QStringList compiled = QDir(QStringLiteral(":/icons"))
                                     .entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
    QCOMPARE(compiled, onDisk);

    QStringList expected;
    for (const IconSpec& icon : kIcons)
        expected << QString::fromLatin1(icon.name) + QStringLiteral(".svg");
    expected.sort();
    QCOMPARE(compiled, expected);
}

// The desktop entry is UTF-8, opens with its group header, has one key=value per line with no key
// twice, and carries what a launcher needs to start the program on text files.
void IconsTest::desktopEntryIsWellFormed() {
    QFile file(QStringLiteral(YOMI6_SOURCE_DIR "/resources/yomi6.desktop"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString text = decode(file.readAll());
    QVERIFY2(!decode.hasError(), "the desktop entry is not valid UTF-8");

    QMap<QString, QString> entries;
    QString group;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QString where = QStringLiteral("line %1: %2").arg(i + 1).arg(line);
        if (line.startsWith(QLatin1Char('['))) {
            QVERIFY2(line.endsWith(QLatin1Char(']')), qPrintable(where));
            QVERIFY2(group.isEmpty(), qPrintable(where)); // one group only
            group = line.mid(1, line.size() - 2);
            continue;
        }
        QVERIFY2(group == QStringLiteral("Desktop Entry"), qPrintable(where));
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        QVERIFY2(equals > 0, qPrintable(where));
        const QString key = line.left(equals).trimmed();
        QVERIFY2(!entries.contains(key), qPrintable(where));
        entries.insert(key, line.mid(equals + 1).trimmed());
    }

    QCOMPARE(entries.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(entries.value(QStringLiteral("Name")), QStringLiteral("yomi6"));
    QVERIFY(!entries.value(QStringLiteral("Name[ja]")).isEmpty());
    QVERIFY(!entries.value(QStringLiteral("Comment")).isEmpty());
    QCOMPARE(entries.value(QStringLiteral("Icon")), QStringLiteral("yomi6"));
    // %F lets the launcher pass any number of files, which the program opens as documents.
    QCOMPARE(entries.value(QStringLiteral("Exec")), QStringLiteral("yomi6 %F"));
    for (const QString& list : {QStringLiteral("Categories"), QStringLiteral("MimeType")})
        QVERIFY2(entries.value(list).endsWith(QLatin1Char(';')), qPrintable(list));
    QVERIFY(entries.value(QStringLiteral("Categories"))
                .split(QLatin1Char(';'))
                .contains(QStringLiteral("TextEditor")));
    QVERIFY(entries.value(QStringLiteral("MimeType"))
                .split(QLatin1Char(';'))
                .contains(QStringLiteral("text/plain")));
}

QTEST_GUILESS_MAIN(IconsTest)
#include "icons_test.moc"
