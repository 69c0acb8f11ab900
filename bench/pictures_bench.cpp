// Pictures: twenty cached thumbnails painted as a list view paints them
// (target: within the list's 4 ms paint budget), against copying the same
// pixels; thumbnails decoded with libjpeg's DCT scaling against a full
// decode; and the big picture window on a 2-megapixel JPEG, offscreen, from
// opening to its first painted picture (target 100 ms), against decoding
// that JPEG and scaling it once.

#include "app/globals.h"
#include "data/media_records.h"
#include "pictures_maps/windows/big_picture_form.h"
#include "pictures_maps/jpeg_files.h"
#include "pictures_maps/small_pictures.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QWindow>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>

namespace {
using Clock = std::chrono::steady_clock;

template <typename F>
double best_ms(int runs, F&& work) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

QImage drawn_picture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor(60, 120, 200));
    g.setColorAt(1, QColor(40, 140, 60));
    p.fillRect(image.rect(), g);
    p.setBrush(QColor(180, 90, 40));
    p.drawEllipse(QRect(size.width() / 4, size.height() / 4, size.width() / 2, size.height() / 2));
    p.end();
    // Some texture, as photographs have.
    for (int y = 0; y < size.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] ^= static_cast<QRgb>(((x * 7 + y * 13) ^ (x * y)) & 0x1F1F1F);
    }
    return image;
}

bool report(const char* what, double figure, double floor, double target) {
    std::printf("%-48s %8.2f ms   floor %8.2f ms   ratio %5.1f   target %.0f ms\n", what, figure,
                floor, figure / floor, target);
    return figure <= target;
}
}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir dir;
    GLB().base_directory = dir.path() + u'/';
    QDir(dir.path()).mkpath("smalpict/BENCH");
    QDir(dir.path()).mkpath("big_pict/BENCH");

    // Twenty species whose small pictures are 800 × 600 files.
    std::deque<Tspecies> species(20);
    for (int i = 0; i < 20; ++i) {
        species[i].family_folder_name = "BENCH";
        species[i].unique_id = 100 + i;
        drawn_picture(QSize(800, 600)).save(dir.filePath(QStringLiteral("smalpict/BENCH/%1.jpg").arg(100 + i)), "JPEG", 85);
    }
    TSmallPictureCache cache;
    const double scaledDecode = best_ms(3, [&] {
        for (Tspecies& s : species) {
            cache.acquire(s);
            cache.release(s);
        }
    }) / 20;
    const QByteArray file = [&] {
        QFile f(dir.filePath("smalpict/BENCH/100.jpg"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    const double fullDecode = best_ms(5, [&] { GLB_decode_jpeg(file); });
    const double dctDecode = best_ms(5, [&] { GLB_decode_jpeg(file, TSmallPictureCache::kLargestThumbnail); });

    for (Tspecies& s : species) cache.acquire(s);
    QImage view(1280, 1024, QImage::Format_RGB32);
    const double paint = best_ms(50, [&] {
        QPainter painter(&view);
        for (int i = 0; i < 20; ++i)
            cache.draw(painter, species[i], QPoint(20 + (i % 2) * 600, (i / 2) * 100));
    });
    const double copy = best_ms(50, [&] {
        for (int i = 0; i < 20; ++i) {
            const QImage& t = *TSmallPictureCache::picture(species[i]);
            const QPoint at(20 + (i % 2) * 600, (i / 2) * 100);
            for (int y = 0; y < t.height(); ++y)
                std::memcpy(view.scanLine(at.y() + y) + at.x() * 4, t.constScanLine(y),
                            static_cast<size_t>(t.width()) * 4);
        }
    });

    // The big picture: 1632 × 1224, two megapixels.
    Tspecies big;
    big.family_folder_name = "BENCH";
    big.unique_id = 7;
    Tbig_picture picture;
    picture.species = &big;
    picture.sequence_number = 1;
    big.first_picture = &picture;
    const QString bigPath = dir.filePath("big_pict/BENCH/7_1.jpg");
    drawn_picture(QSize(1632, 1224)).save(bigPath, "JPEG", 85);
    const QByteArray bigFile = [&] {
        QFile f(bigPath);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    const double bigFloor = best_ms(3, [&] {
        const QImage image = GLB_decode_jpeg(bigFile);
        QImage target(1280, 1024, QImage::Format_RGB32);
        QPainter p(&target);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(0, 0, 1254, 941), image);
    });
    const double open = best_ms(3, [&] {
        TBigPictureForm form;
        form.prepare(TPictureTaxon{&big, nullptr}, nullptr);
        form.show_picture();
        while (!form.windowHandle() || !form.windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        form.repaint();
        if (form.drawn_rect().isEmpty()) std::printf("the picture was not painted\n");
    });

    std::printf("thumbnail from an 800 x 600 file: decode with DCT scaling %.2f ms, full decode %.2f ms"
                " (%.1f times); acquire with path and file %.2f ms\n",
                dctDecode, fullDecode, fullDecode / dctDecode, scaledDecode);
    bool ok = report("paint 20 cached thumbnails", paint, copy, 4);
    ok = report("open the big picture window on 2 megapixels", open, bigFloor, 100) && ok;
    if (!ok) std::printf("FAILED: target missed\n");
    return ok ? 0 : 1;
}
