// Any text as a caption: the renderer measures and draws it, and ends.
#include "controls/markup.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_markup";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    static QImage image(200, 120, QImage::Format_RGB32);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QPainter painter(&image);
    // Narrower than a word (lines overflow) and a caption's width (lines wrap).
    for (int width : {5, 80}) {
        const kav::MarkupResult r = kav::drawMarkupText(painter, text, QRect(0, 0, width, 120), true);
        if (r.height <= 0)
            std::abort();
        kav::drawMarkupText(painter, text, QRect(0, 0, width, 120), false, width != 5);
    }
    (void)kav::stripMarkup(text);
    return 0;
}
