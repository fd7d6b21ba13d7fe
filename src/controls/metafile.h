#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QSize>

#include <memory>

namespace kav {

class MetafileEngine;

// A paint device that records what is painted on it as a Windows metafile, the enhanced format
// (EMF) or the older 16-bit one (WMF), in vectors: lines, polygons, ellipses and text in its font
// and colour, rotated where the painter turns it; images go in as bitmaps. Pens and brushes are
// taken as their colour, width and dash style. Clipping is not recorded: what is painted should
// lie within the size.
class Metafile : public QPaintDevice {
public:
    enum class Format : std::uint8_t { Enhanced, Windows };

    Metafile(Format format, QSize size, int dpi = 96);
    ~Metafile() override;

    QPaintEngine* paintEngine() const override;
    // The file, once the painter has ended; empty when it could not be made.
    QByteArray bytes() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    int m_dpi;
    std::unique_ptr<MetafileEngine> m_engine;
};

} // namespace kav
