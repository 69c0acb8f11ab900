// Draws the demo edition's pictures: for every picture record a big
// picture (a bird figure in colours taken from the species' name, on a
// background after its habitat, with its name and the photographer's
// credit), a thumbnail for every species that shows one, and distribution
// bitmaps for the species with maps, written plain, RLE8 and compressed so
// that every loading path has a file to read.
//
//   make_demo_pictures <edition directory> <base directory>

#include "formats/lzw_compression.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QStringList>
#include <QTextStream>
#include <QtEndian>
#include <cstdio>
#include <vector>

namespace {

struct Species {
    QString scientific;
    QString common;
    QString habitat;
    QString folder;
    int uid = 0;
    bool showsThumbnail = false;
    int maps = 0;
};

struct Picture {
    int uid = 0;
    QString photographer;
    int sequence = 0;
};

QStringList read_lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (QString& l : lines)
        if (l.endsWith(u'\r')) l.chop(1);
    return lines;
}

// The lines of each "@#[NAME]" section.
QHash<QString, QStringList> sections(const QStringList& lines) {
    QHash<QString, QStringList> result;
    QString current;
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("@#[")) && line.endsWith(u']') && line != u"@#[]") {
            current = line.mid(3, line.size() - 4);
            continue;
        }
        if (!current.isEmpty()) result[current].append(line);
    }
    return result;
}

std::vector<Species> read_species(const QString& edition) {
    const auto names = sections(read_lines(edition + QStringLiteral("/names_sc.txt")));
    const auto taxa = sections(read_lines(edition + QStringLiteral("/taxa.txt")));
    const QStringList families = names.value(QStringLiteral("FAMILIES"));
    std::vector<Species> all;
    for (int k = 1; 2 * k <= families.size(); ++k) {
        const QString folder = families[2 * k - 1];
        const QStringList block = names.value(QStringLiteral("SPECIES %1").arg(k));
        const QStringList texts = taxa.value(QStringLiteral("SPECIES %1").arg(k));
        int index = 0;
        for (int i = 0; i < block.size(); ++i) {
            if (block[i] != u"@#[]" || i + 3 >= block.size()) continue;
            Species s;
            s.scientific = block[i + 1];
            s.uid = block[i + 2].section(u' ', 1, 1).toInt();
            const QString flags = block[i + 3].section(u',', 0, 0);
            s.showsThumbnail = flags.contains(u'S');
            s.maps = static_cast<int>(block[i + 3].count(QStringLiteral("\"")) / 2);
            s.folder = folder;
            if (4 * index + 3 < texts.size()) {
                s.common = texts[4 * index];
                s.habitat = texts[4 * index + 3];
            }
            ++index;
            all.push_back(s);
        }
    }
    return all;
}

std::vector<Picture> read_pictures(const QString& edition) {
    const QStringList lines = read_lines(edition + QStringLiteral("/big_pict.txt"));
    std::vector<Picture> all;
    QHash<int, int> counts;
    for (int i = 0; i + 3 < lines.size(); ++i) {
        if (lines[i] != u"@#[]") continue;
        Picture p;
        p.uid = lines[i + 1].trimmed().toInt();
        p.photographer = lines[i + 3].trimmed();
        p.sequence = ++counts[p.uid];
        all.push_back(p);
    }
    return all;
}

// --- Drawing -----------------------------------------------------------------------

QColor named_colour(const QString& word, QColor fallback) {
    static const QList<QPair<QString, QColor>> words = {
        {QStringLiteral("red"), QColor(200, 30, 30)},     {QStringLiteral("scarlet"), QColor(225, 30, 20)},
        {QStringLiteral("crimson"), QColor(170, 20, 50)}, {QStringLiteral("blue"), QColor(40, 80, 190)},
        {QStringLiteral("yellow"), QColor(240, 205, 40)}, {QStringLiteral("golden"), QColor(225, 170, 30)},
        {QStringLiteral("green"), QColor(60, 150, 60)},   {QStringLiteral("olive"), QColor(120, 125, 60)},
        {QStringLiteral("black"), QColor(30, 30, 30)},    {QStringLiteral("white"), QColor(240, 240, 235)},
        {QStringLiteral("gray"), QColor(130, 130, 135)},  {QStringLiteral("grey"), QColor(130, 130, 135)},
        {QStringLiteral("rufous"), QColor(180, 90, 40)},  {QStringLiteral("chestnut"), QColor(130, 60, 30)},
        {QStringLiteral("orange"), QColor(235, 130, 30)}, {QStringLiteral("brown"), QColor(110, 75, 45)},
        {QStringLiteral("cinnamon"), QColor(190, 120, 70)}, {QStringLiteral("buff"), QColor(220, 190, 140)},
        {QStringLiteral("purple"), QColor(110, 50, 130)}, {QStringLiteral("violet"), QColor(120, 70, 170)},
        {QStringLiteral("turquoise"), QColor(40, 170, 170)}};
    const QString lower = word.toLower();
    for (const auto& [name, colour] : words)
        if (lower.contains(name)) return colour;
    return fallback;
}

struct Plumage {
    QColor body, wing, head, belly, beak;
};

Plumage plumage_of(const Species& s) {
    QRandomGenerator random(static_cast<quint32>(s.uid));
    const auto randomColour = [&random] {
        return QColor::fromHsv(random.bounded(360), 90 + random.bounded(140), 80 + random.bounded(150));
    };
    const QStringList words = s.common.split(u' ', Qt::SkipEmptyParts);
    Plumage p;
    p.body = randomColour();
    for (const QString& w : words) p.body = named_colour(w, p.body);
    p.head = words.size() > 1 ? named_colour(words.first(), p.body.darker(120)) : p.body.darker(120);
    p.wing = p.body.darker(150);
    p.belly = p.body.lighter(150);
    p.beak = random.bounded(2) ? QColor(40, 35, 30) : QColor(230, 170, 50);
    return p;
}

void draw_habitat(QPainter& painter, QSize size, const Species& s, QRandomGenerator& random) {
    const QString h = s.habitat.toLower();
    QColor sky(150, 190, 230), ground(70, 120, 60), foliage(40, 100, 45);
    if (h.contains(QStringLiteral("dry")) || h.contains(QStringLiteral("chaco")) ||
        h.contains(QStringLiteral("scrub"))) {
        sky = QColor(200, 215, 230), ground = QColor(190, 160, 110), foliage = QColor(120, 130, 70);
    } else if (h.contains(QStringLiteral("puna")) || h.contains(QStringLiteral("grass")) ||
               h.contains(QStringLiteral("highland")) || h.contains(QStringLiteral("páramo"))) {
        sky = QColor(120, 170, 235), ground = QColor(160, 160, 100), foliage = QColor(110, 120, 80);
    } else if (h.contains(QStringLiteral("lake")) || h.contains(QStringLiteral("marsh")) ||
               h.contains(QStringLiteral("river")) || h.contains(QStringLiteral("water"))) {
        sky = QColor(170, 200, 225), ground = QColor(60, 110, 150), foliage = QColor(80, 120, 70);
    }
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, sky.lighter(115));
    gradient.setColorAt(0.6, sky);
    gradient.setColorAt(0.62, ground.lighter(110));
    gradient.setColorAt(1, ground.darker(130));
    painter.fillRect(QRect(QPoint(0, 0), size), gradient);
    painter.setPen(Qt::NoPen);
    const int w = size.width(), ht = size.height();
    for (int i = 0; i < 14; ++i) {
        QColor leaf = foliage;
        leaf.setAlpha(150 + random.bounded(100));
        painter.setBrush(leaf.lighter(80 + random.bounded(50)));
        const int r = w / 14 + random.bounded(w / 10);
        painter.drawEllipse(QPoint(random.bounded(w), ht / 2 + random.bounded(ht / 6) - ht / 5), r, r * 2 / 3);
    }
    // A branch for the bird to sit on.
    painter.setBrush(QColor(90, 60, 35));
    QPainterPath branch;
    branch.moveTo(0, ht * 0.72);
    branch.cubicTo(w * 0.3, ht * 0.69, w * 0.6, ht * 0.74, w, ht * 0.70);
    branch.lineTo(w, ht * 0.73);
    branch.cubicTo(w * 0.6, ht * 0.77, w * 0.3, ht * 0.72, 0, ht * 0.755);
    branch.closeSubpath();
    painter.drawPath(branch);
}

void draw_bird(QPainter& painter, QSize size, const Plumage& p, bool facingLeft) {
    const double w = size.width(), h = size.height();
    const double unit = std::min(w, h) / 10.0;
    painter.save();
    painter.translate(w * 0.5, h * 0.52);
    if (facingLeft) painter.scale(-1, 1);
    painter.setPen(QPen(QColor(20, 20, 20, 120), unit * 0.04));
    // Tail.
    QPainterPath tail;
    tail.moveTo(-1.6 * unit, 0.5 * unit);
    tail.lineTo(-3.6 * unit, 1.9 * unit);
    tail.lineTo(-3.2 * unit, 2.3 * unit);
    tail.lineTo(-1.2 * unit, 1.1 * unit);
    tail.closeSubpath();
    painter.setBrush(p.wing.darker(115));
    painter.drawPath(tail);
    // Legs.
    painter.setPen(QPen(QColor(60, 50, 40), unit * 0.12));
    painter.drawLine(QPointF(-0.2 * unit, 1.3 * unit), QPointF(-0.3 * unit, 2.0 * unit));
    painter.drawLine(QPointF(0.4 * unit, 1.3 * unit), QPointF(0.4 * unit, 2.0 * unit));
    painter.setPen(QPen(QColor(20, 20, 20, 120), unit * 0.04));
    // Body and belly.
    QRadialGradient bodyShade(QPointF(0.3 * unit, -0.3 * unit), 2.4 * unit);
    bodyShade.setColorAt(0, p.body.lighter(120));
    bodyShade.setColorAt(1, p.body.darker(120));
    painter.setBrush(bodyShade);
    painter.drawEllipse(QPointF(0, 0.2 * unit), 2.1 * unit, 1.35 * unit);
    painter.setBrush(p.belly);
    painter.drawEllipse(QPointF(0.5 * unit, 0.6 * unit), 1.2 * unit, 0.8 * unit);
    // Wing.
    QPainterPath wing;
    wing.moveTo(1.0 * unit, -0.3 * unit);
    wing.cubicTo(0.2 * unit, -0.9 * unit, -1.6 * unit, -0.5 * unit, -2.3 * unit, 0.9 * unit);
    wing.cubicTo(-1.0 * unit, 0.9 * unit, 0.4 * unit, 0.6 * unit, 1.0 * unit, -0.3 * unit);
    painter.setBrush(p.wing);
    painter.drawPath(wing);
    // Head, eye and beak.
    painter.setBrush(p.head);
    painter.drawEllipse(QPointF(1.9 * unit, -1.0 * unit), 0.95 * unit, 0.9 * unit);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(2.25 * unit, -1.2 * unit), 0.22 * unit, 0.22 * unit);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(2.3 * unit, -1.2 * unit), 0.12 * unit, 0.12 * unit);
    QPainterPath beak;
    beak.moveTo(2.7 * unit, -1.25 * unit);
    beak.lineTo(3.6 * unit, -0.95 * unit);
    beak.lineTo(2.75 * unit, -0.75 * unit);
    beak.closeSubpath();
    painter.setBrush(p.beak);
    painter.drawPath(beak);
    painter.restore();
}

QImage illustration(const Species& s, const QString& photographer, QSize size, int variant) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator random(static_cast<quint32>(s.uid * 31 + variant));
    draw_habitat(painter, size, s, random);
    draw_bird(painter, size, plumage_of(s), variant % 2 == 0);
    const int textSize = std::max(9, size.height() / 22);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(textSize);
    font.setBold(true);
    painter.setFont(font);
    const QString title = s.common.isEmpty() ? s.scientific : s.common;
    const QRect band(0, 0, size.width(), textSize * 2 + textSize / 2);
    painter.fillRect(band, QColor(0, 0, 0, 110));
    painter.setPen(Qt::white);
    painter.drawText(band.adjusted(textSize / 2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, title);
    if (size.width() > 300) {
        font.setItalic(true);
        font.setBold(false);
        painter.setFont(font);
        painter.drawText(band.adjusted(0, 0, -textSize / 2, 0), Qt::AlignRight | Qt::AlignVCenter,
                         s.scientific);
        font.setItalic(false);
        font.setPixelSize(std::max(9, textSize * 3 / 4));
        painter.setFont(font);
        painter.drawText(QRect(0, 0, size.width() - textSize / 2, size.height() - textSize / 2),
                         Qt::AlignRight | Qt::AlignBottom, QChar(0xA9) + u' ' + photographer);
    }
    painter.end();
    return image;
}

// --- Distribution bitmaps -----------------------------------------------------------

// An 8-bit bitmap: index 0 white, 1 pure red (the range), 2 pure blue.
std::vector<std::uint8_t> range_rows(int width, int height, int uid, int number) {
    QImage mask(width, height, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QRandomGenerator random(static_cast<quint32>(uid * 7 + number));
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        painter.setBrush(QColor(1, 1, 1));
        QPolygon blob;
        const QPoint centre(width / 4 + random.bounded(width / 2), height / 4 + random.bounded(height / 2));
        for (int a = 0; a < 12; ++a) {
            const double angle = a * 3.14159265 / 6;
            const double r = (0.12 + random.generateDouble() * 0.2) * width;
            blob << centre + QPoint(int(r * std::cos(angle)), int(r * std::sin(angle)));
        }
        painter.drawPolygon(blob);
    }
    painter.setBrush(QColor(2, 2, 2));
    painter.drawEllipse(QPoint(width / 2 + random.bounded(width / 4), height / 3), width / 14, height / 16);
    painter.end();
    const int stride = (width + 3) / 4 * 4;
    std::vector<std::uint8_t> rows(static_cast<size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        const uchar* line = mask.constScanLine(height - 1 - y);  // bottom-up
        std::copy(line, line + width, rows.begin() + static_cast<long>(y) * stride);
    }
    return rows;
}

std::vector<std::uint8_t> rle8(const std::vector<std::uint8_t>& rows, int width, int height) {
    const int stride = (width + 3) / 4 * 4;
    std::vector<std::uint8_t> out;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = rows.data() + static_cast<long>(y) * stride;
        int x = 0;
        bool cut = false;
        while (x < width) {
            int run = 1;
            while (x + run < width && run < 255 && row[x + run] == row[x]) ++run;
            if (row[x] == 0 && x + run == width) {  // the end of line leaves zeros
                cut = true;
                break;
            }
            out.push_back(static_cast<std::uint8_t>(run));
            out.push_back(row[x]);
            x += run;
        }
        // The reader's end of line always moves to the next multiple of the
        // stride, a whole row when the row was written out to a multiple of
        // 4: only a cut row (or a padded one) gets one.
        const bool padded = width % 4 != 0;
        if (y + 1 == height) {
            out.push_back(0);
            out.push_back(1);
        } else if (cut || padded) {
            out.push_back(0);
            out.push_back(0);
        }
    }
    return out;
}

std::vector<std::uint8_t> bitmap_file(int width, int height, const std::vector<std::uint8_t>& pixels,
                                      bool rle) {
    std::vector<std::uint8_t> file(14 + 40 + 256 * 4);
    const auto put32 = [&file](size_t at, std::uint32_t v) { qToLittleEndian<quint32>(v, file.data() + at); };
    const auto put16 = [&file](size_t at, std::uint16_t v) { qToLittleEndian<quint16>(v, file.data() + at); };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size() + pixels.size()));
    put32(10, static_cast<std::uint32_t>(file.size()));
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    put16(26, 1);
    put16(28, 8);
    put32(30, rle ? 1 : 0);
    put32(34, static_cast<std::uint32_t>(pixels.size()));
    put32(46, 256);
    const std::uint8_t colours[3][3] = {{255, 255, 255}, {0, 0, 255}, {255, 0, 0}};  // B, G, R
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t* c = colours[std::min(i, 2)];
        file[54 + 4 * i] = i < 3 ? c[0] : 255;
        file[54 + 4 * i + 1] = i < 3 ? c[1] : 255;
        file[54 + 4 * i + 2] = i < 3 ? c[2] : 255;
    }
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

void write_file(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QByteArray bytes_of(const std::vector<std::uint8_t>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_demo_pictures <edition directory> <base directory>\n");
        return 2;
    }
    const QString edition = QString::fromLocal8Bit(argv[1]);
    const QString base = QString::fromLocal8Bit(argv[2]);
    const std::vector<Species> species = read_species(edition);
    const std::vector<Picture> pictures = read_pictures(edition);
    QHash<int, const Species*> byUid;
    for (const Species& s : species) byUid.insert(s.uid, &s);

    int bigIndex = 0;
    for (const Picture& p : pictures) {
        const Species* s = byUid.value(p.uid);
        if (!s) continue;
        // Every fourth picture is large enough for zoom and scroll to matter.
        const QSize size = bigIndex % 4 == 0 ? QSize(1600, 1200)
                           : bigIndex % 4 == 2 ? QSize(768, 1024)
                                               : QSize(1024, 768);
        ++bigIndex;
        const QImage image = illustration(*s, p.photographer, size, p.sequence);
        const QString path = base + QStringLiteral("/big_pict/%1/%2_%3.jpg")
                                        .arg(s->folder).arg(s->uid).arg(p.sequence);
        QDir().mkpath(QFileInfo(path).path());
        if (!image.save(path, "JPEG", 72)) return 1;
    }
    int mapIndex = 0;
    for (const Species& s : species) {
        if (s.showsThumbnail) {
            QString photographer;
            for (const Picture& p : pictures)
                if (p.uid == s.uid) {
                    photographer = p.photographer;
                    break;
                }
            const QImage thumbnail = illustration(s, photographer, QSize(120, 90), 1);
            const QString path = base + QStringLiteral("/smalpict/%1/%2.jpg").arg(s.folder).arg(s.uid);
            QDir().mkpath(QFileInfo(path).path());
            if (!thumbnail.save(path, "JPEG", 85)) return 1;
        }
        for (int number = 1; number <= s.maps; ++number) {
            const int width = 240, height = 260;
            const std::vector<std::uint8_t> rows = range_rows(width, height, s.uid, number);
            const int kind = mapIndex++ % 4;  // plain, RLE8, compressed, compressed RLE8
            const bool rle = kind == 1 || kind == 3;
            const std::vector<std::uint8_t> file =
                bitmap_file(width, height, rle ? rle8(rows, width, height) : rows, rle);
            const QString name = number == 1 ? QString::number(s.uid)
                                             : QStringLiteral("%1_%2").arg(s.uid).arg(number);
            const QString path = base + QStringLiteral("/distmaps/%1/%2.bmp").arg(s.folder, name);
            write_file(path, kind >= 2 ? bytes_of(lzw::LZW_make_file(file)) : bytes_of(file));
        }
    }
    std::printf("%d big pictures, %d distribution bitmaps\n", bigIndex, mapIndex);
    return 0;
}
