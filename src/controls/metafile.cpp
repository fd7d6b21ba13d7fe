#include "controls/metafile.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainterPath>
#include <QTemporaryFile>

extern "C" {
#include <uemf.h>
#include <uwmf.h>
}

#include <climits>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <tuple>

namespace kav {

namespace {

// The drawing calls that both formats offer, in device pixels.
class Recorder {
public:
    virtual ~Recorder() = default;
    virtual void pen(const QColor& colour, int width, Qt::PenStyle style) = 0;
    // An invalid colour: no filling.
    virtual void brush(const QColor& colour) = 0;
    virtual void font(const QFont& font, int pixelSize, int tenthsOfDegree) = 0;
    virtual void textColour(const QColor& colour) = 0;
    virtual void polyline(const QPolygon& points) = 0;
    virtual void polygon(const QPolygon& points) = 0;
    virtual void ellipse(const QRect& box) = 0;
    // Text with its baseline starting at a point; each character's advance.
    virtual void text(QPoint at, const QString& text, const std::vector<int>& advances) = 0;
    virtual void image(const QRect& target, const QImage& image) = 0;
    // The file; empty when anything failed.
    virtual QByteArray finish() = 0;
};

// The bytes of a finished metafile. The library builds the whole file in its buffer, completes
// the header there and only then writes it to the file it was started on; the buffer is taken,
// since the library does not notice a write cut short (a full disk leaves it a cut file). Its
// result 2 says only that the write of its own file failed.
template <typename Track> QByteArray finishedBytes(int finishResult, Track& track)
{
    if (finishResult == 2 && track.fp) {
        std::fclose(track.fp); // left open by the failed write
        track.fp = nullptr;
    }
    if (finishResult != 0 && finishResult != 2)
        return {};
    return QByteArray(track.buf, static_cast<qsizetype>(track.used));
}

// Text in the Windows ANSI code page (1252) of the metafiles' fonts: Latin-1, with the
// typographic characters (an ellipsis, dashes, quotes, the euro sign) at 0x80 to 0x9F; what
// it lacks becomes "?".
QByteArray windows1252(const QString& text)
{
    static const char16_t high[32]
        = {u'\u20AC', 0,         u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
           u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', 0,         u'\u017D', 0,
           0,         u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
           u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', 0,         u'\u017E', u'\u0178'};
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        char byte = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            byte = static_cast<char>(u);
        else if (u != 0)
            for (int i = 0; i < 32; ++i)
                if (high[i] == u)
                    byte = static_cast<char>(0x80 + i);
        bytes += byte;
    }
    return bytes;
}

// The libraries insist on a named file of their own, which nothing reads.
class TemporaryTarget {
public:
    TemporaryTarget()
    {
        m_ok = m_file.open();
        m_file.close();
        m_name = QFile::encodeName(m_file.fileName());
    }
    bool ok() const { return m_ok; }
    const char* name() const { return m_name.constData(); }

private:
    QTemporaryFile m_file;
    QByteArray m_name;
    bool m_ok = false;
};

U_COLORREF colourRef(const QColor& c)
{
    return colorref3_set(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                         static_cast<uint8_t>(c.blue()));
}

uint32_t penStyle(Qt::PenStyle style)
{
    switch (style) {
    case Qt::NoPen: return U_PS_NULL;
    case Qt::DashLine: return U_PS_DASH;
    case Qt::DotLine: return U_PS_DOT;
    case Qt::DashDotLine: return U_PS_DASHDOT;
    case Qt::DashDotDotLine: return U_PS_DASHDOTDOT;
    default: return U_PS_SOLID;
    }
}

int fontWeight(const QFont& font)
{
    return font.bold() ? U_FW_BOLD : U_FW_NORMAL;
}

// A 32-bit bottom-up device-independent bitmap of an image, as both formats store it.
struct Dib {
    U_BITMAPINFOHEADER header;
    QByteArray pixels;
};

Dib dibOf(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    Dib d{bitmapinfoheader_set(argb.width(), argb.height(), 1, 32, U_BI_RGB, 0, 3780, 3780, 0, 0), {}};
    d.pixels.reserve(argb.width() * argb.height() * 4);
    for (int y = argb.height() - 1; y >= 0; --y)
        d.pixels.append(reinterpret_cast<const char*>(argb.constScanLine(y)), argb.width() * 4);
    return d;
}

class EmfRecorder final : public Recorder {
public:
    EmfRecorder(QSize size, int dpi)
    {
        m_ok = m_target.ok() && emf_start(m_target.name(), 1 << 20, 1 << 18, &m_track) == 0
            && htable_create(128, 128, &m_handles) == 0;
        if (!m_ok)
            return;
        const U_RECTL bounds = rectl_set(pointl_set(0, 0), pointl_set(size.width() - 1, size.height() - 1));
        const U_RECTL frame
            = rectl_set(pointl_set(0, 0), pointl_set(size.width() * 2540 / dpi, size.height() * 2540 / dpi));
        // A reference device of 96 pixels to the inch.
        const U_SIZEL device = sizel_set(1024, 768);
        const U_SIZEL millimetres = sizel_set(1024 * 254 / 960, 768 * 254 / 960);
        // The description: the application, then the picture, each ended by a null, and one more.
        std::u16string description = u"KAV Data Viewer";
        description += u'\0';
        description += u"Chart";
        description.append(2, u'\0');
        std::vector<uint16_t> described(description.begin(), description.end());
        add(U_EMRHEADER_set(bounds, frame, nullptr, static_cast<U_CBSTR>(described.size()), described.data(), device,
                            millimetres, 0));
        add(U_EMRSETMAPMODE_set(U_MM_TEXT));
        add(U_EMRSETBKMODE_set(U_TRANSPARENT));
        add(U_EMRSETTEXTALIGN_set(U_TA_BASELINE | U_TA_LEFT));
        add(U_EMRSETPOLYFILLMODE_set(U_ALTERNATE));
    }
    ~EmfRecorder() override
    {
        if (m_track)
            emf_free(&m_track);
        if (m_handles)
            htable_free(&m_handles);
    }

    void pen(const QColor& colour, int width, Qt::PenStyle style) override
    {
        uint32_t handle = 0;
        char* create
            = createpen_set(&handle, m_handles, logpen_set(penStyle(style), point32_set(width, 0), colourRef(colour)));
        select(m_pen, create, handle);
    }
    void brush(const QColor& colour) override
    {
        uint32_t handle = 0;
        const U_LOGBRUSH brush = logbrush_set(colour.isValid() ? U_BS_SOLID : U_BS_NULL, colourRef(colour), 0);
        char* create = createbrushindirect_set(&handle, m_handles, brush);
        select(m_brush, create, handle);
    }
    void font(const QFont& font, int pixelSize, int tenthsOfDegree) override
    {
        uint16_t* face = U_Utf8ToUtf16le(font.family().left(31).toUtf8().constData(), 0, nullptr);
        const U_LOGFONT logFont
            = logfont_set(-pixelSize, 0, tenthsOfDegree, tenthsOfDegree, fontWeight(font), font.italic(),
                          font.underline(), font.strikeOut(), U_DEFAULT_CHARSET, U_OUT_DEFAULT_PRECIS,
                          U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH | U_FF_DONTCARE, face);
        U_LOGFONT_PANOSE described
            = logfont_panose_set(logFont, face, face, 0, panose_set(0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
        free(face);
        uint32_t handle = 0;
        char* create
            = extcreatefontindirectw_set(&handle, m_handles, nullptr, reinterpret_cast<const char*>(&described));
        select(m_font, create, handle);
    }
    void textColour(const QColor& colour) override { add(U_EMRSETTEXTCOLOR_set(colourRef(colour))); }
    void polyline(const QPolygon& points) override
    {
        add(U_EMRPOLYLINE_set(boundsOf(points), count(points), recordPoints(points).data()));
    }
    void polygon(const QPolygon& points) override
    {
        add(U_EMRPOLYGON_set(boundsOf(points), count(points), recordPoints(points).data()));
    }
    void ellipse(const QRect& box) override
    {
        add(U_EMRELLIPSE_set(rectl_set(pointl_set(box.left(), box.top()), pointl_set(box.right(), box.bottom()))));
    }
    void text(QPoint at, const QString& text, const std::vector<int>& advances) override
    {
        std::vector<uint16_t> utf16(text.utf16(), text.utf16() + text.size());
        std::vector<uint32_t> dx(advances.begin(), advances.end());
        const U_RECTL none = rectl_set(pointl_set(0, 0), pointl_set(-1, -1));
        char* emrText = emrtext_set(pointl_set(at.x(), at.y()), static_cast<U_NUM_STR>(utf16.size()), 2, utf16.data(),
                                    U_ETO_NONE, none, dx.data());
        if (!emrText) {
            m_ok = false;
            return;
        }
        int width = 0;
        for (int a : advances)
            width += a;
        const U_RECTL bounds = rectl_set(pointl_set(at.x(), at.y() - 20), pointl_set(at.x() + width, at.y() + 5));
        add(U_EMREXTTEXTOUTW_set(bounds, U_GM_COMPATIBLE, 1, 1, reinterpret_cast<PU_EMRTEXT>(emrText)));
        free(emrText);
    }
    void image(const QRect& target, const QImage& image) override
    {
        Dib dib = dibOf(image);
        PU_BITMAPINFO info = bitmapinfo_set(dib.header, nullptr);
        add(U_EMRSTRETCHDIBITS_set(
            rectl_set(pointl_set(target.left(), target.top()), pointl_set(target.right(), target.bottom())),
            pointl_set(target.left(), target.top()), pointl_set(target.width(), target.height()), pointl_set(0, 0),
            pointl_set(image.width(), image.height()), U_DIB_RGB_COLORS, U_SRCCOPY, info,
            static_cast<uint32_t>(dib.pixels.size()), dib.pixels.data()));
        free(info);
    }
    QByteArray finish() override
    {
        add(U_EMREOF_set(0, nullptr, m_track));
        return m_ok ? finishedBytes(emf_finish(m_track, m_handles), *m_track) : QByteArray();
    }

private:
    void add(char* record)
    {
        if (!record || !m_ok) {
            free(record);
            m_ok = false;
            return;
        }
        m_ok = emf_append(reinterpret_cast<PU_ENHMETARECORD>(record), m_track, 1) == 0;
    }
    // A new object, made by its record create (which gave it its handle), takes the place of the
    // one selected before, which is then deleted.
    void select(uint32_t& current, char* create, uint32_t handle)
    {
        add(create);
        add(selectobject_set(handle, m_handles));
        if (current)
            add(deleteobject_set(&current, m_handles));
        current = handle;
    }
    static U_RECTL boundsOf(const QPolygon& points)
    {
        const QRect r = points.boundingRect();
        return rectl_set(pointl_set(r.left(), r.top()), pointl_set(r.right(), r.bottom()));
    }
    static uint32_t count(const QPolygon& points) { return static_cast<uint32_t>(points.size()); }
    static std::vector<U_POINTL> recordPoints(const QPolygon& points)
    {
        std::vector<U_POINTL> out;
        for (const QPoint& p : points)
            out.push_back(pointl_set(p.x(), p.y()));
        return out;
    }

    TemporaryTarget m_target;
    EMFTRACK* m_track = nullptr;
    EMFHANDLES* m_handles = nullptr;
    uint32_t m_pen = 0;
    uint32_t m_brush = 0;
    uint32_t m_font = 0;
    bool m_ok = false;
};

class WmfRecorder final : public Recorder {
public:
    WmfRecorder(QSize size, int dpi)
    {
        m_ok = m_target.ok() && wmf_start(m_target.name(), 1 << 20, 1 << 18, &m_track) == 0
            && wmf_htable_create(128, 128, &m_handles) == 0;
        if (!m_ok)
            return;
        (void)wmf_highwater(U_HIGHWATER_CLEAR);
        U_PAIRF inches{static_cast<float>(size.width()) / dpi, static_cast<float>(size.height()) / dpi};
        char* header = U_WMRHEADER_set(&inches, static_cast<unsigned>(dpi));
        m_ok = header && wmf_header_append(reinterpret_cast<U_METARECORD*>(header), m_track, 1) == 0;
        add(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
        add(U_WMRSETWINDOWEXT_set(
            point16_set(static_cast<int16_t>(size.width()), static_cast<int16_t>(size.height()))));
        add(U_WMRSETBKMODE_set(U_TRANSPARENT));
        add(U_WMRSETTEXTALIGN_set(U_TA_BASELINE | U_TA_LEFT));
        add(U_WMRSETPOLYFILLMODE_set(U_ALTERNATE));
    }
    ~WmfRecorder() override
    {
        if (m_track)
            wmf_free(&m_track);
        if (m_handles)
            wmf_htable_free(&m_handles);
    }

    void pen(const QColor& colour, int width, Qt::PenStyle style) override
    {
        uint32_t handle = 0;
        char* create = wcreatepenindirect_set(
            &handle, m_handles,
            U_PEN_set(static_cast<uint16_t>(penStyle(style)), static_cast<uint16_t>(width), colourRef(colour)));
        select(m_pen, create, handle);
    }
    void brush(const QColor& colour) override
    {
        uint32_t handle = 0;
        const U_WLOGBRUSH brush = U_WLOGBRUSH_set(colour.isValid() ? U_BS_SOLID : U_BS_NULL, colourRef(colour), 0);
        char* create = wcreatebrushindirect_set(&handle, m_handles, brush);
        select(m_brush, create, handle);
    }
    void font(const QFont& font, int pixelSize, int tenthsOfDegree) override
    {
        QByteArray face = font.family().left(31).toLatin1();
        U_FONT* described
            = U_FONT_set(static_cast<int16_t>(-pixelSize), 0, static_cast<int16_t>(tenthsOfDegree),
                         static_cast<int16_t>(tenthsOfDegree), static_cast<int16_t>(fontWeight(font)), font.italic(),
                         font.underline(), font.strikeOut(), U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS,
                         U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH | U_FF_DONTCARE, face.data());
        uint32_t handle = 0;
        char* create = described ? wcreatefontindirect_set(&handle, m_handles, described) : nullptr;
        free(described);
        select(m_font, create, handle);
    }
    void textColour(const QColor& colour) override { add(U_WMRSETTEXTCOLOR_set(colourRef(colour))); }
    void polyline(const QPolygon& points) override
    {
        const std::vector<U_POINT16> p = recordPoints(points);
        add(U_WMRPOLYLINE_set(static_cast<uint16_t>(p.size()), p.data()));
    }
    void polygon(const QPolygon& points) override
    {
        const std::vector<U_POINT16> p = recordPoints(points);
        add(U_WMRPOLYGON_set(static_cast<uint16_t>(p.size()), p.data()));
    }
    void ellipse(const QRect& box) override
    {
        add(U_WMRELLIPSE_set(
            U_RECT16_set(point16_set(static_cast<int16_t>(box.left()), static_cast<int16_t>(box.top())),
                         point16_set(static_cast<int16_t>(box.right()), static_cast<int16_t>(box.bottom())))));
    }
    void text(QPoint at, const QString& text, const std::vector<int>& advances) override
    {
        // The 16-bit format holds single-byte text in the fonts' ANSI code page.
        const QByteArray bytes = windows1252(text);
        std::vector<int16_t> dx(advances.begin(), advances.end());
        const U_RECT16 none = U_RECT16_set(point16_set(0, 0), point16_set(0, 0));
        add(U_WMREXTTEXTOUT_set(point16_set(static_cast<int16_t>(at.x()), static_cast<int16_t>(at.y())),
                                static_cast<int16_t>(bytes.size()), 0, bytes.constData(), dx.data(), none));
    }
    void image(const QRect& target, const QImage& image) override
    {
        Dib dib = dibOf(image);
        PU_BITMAPINFO info = bitmapinfo_set(dib.header, nullptr);
        auto p16 = [](int x, int y) { return point16_set(static_cast<int16_t>(x), static_cast<int16_t>(y)); };
        add(U_WMRSTRETCHDIB_set(p16(target.left(), target.top()), p16(target.width(), target.height()), p16(0, 0),
                                p16(image.width(), image.height()), U_DIB_RGB_COLORS, U_SRCCOPY, info,
                                static_cast<uint32_t>(dib.pixels.size()), dib.pixels.constData()));
        free(info);
    }
    QByteArray finish() override
    {
        add(U_WMREOF_set());
        return m_ok ? finishedBytes(wmf_finish(m_track), *m_track) : QByteArray();
    }

private:
    void add(char* record)
    {
        if (!record || !m_ok) {
            free(record);
            m_ok = false;
            return;
        }
        m_ok = wmf_append(reinterpret_cast<U_METARECORD*>(record), m_track, 1) == 0;
    }
    void select(uint32_t& current, char* create, uint32_t handle)
    {
        add(create);
        add(wselectobject_set(handle, m_handles));
        if (current)
            add(wdeleteobject_set(&current, m_handles));
        current = handle;
    }
    static std::vector<U_POINT16> recordPoints(const QPolygon& points)
    {
        std::vector<U_POINT16> out;
        for (const QPoint& p : points)
            out.push_back(point16_set(static_cast<int16_t>(p.x()), static_cast<int16_t>(p.y())));
        return out;
    }

    TemporaryTarget m_target;
    WMFTRACK* m_track = nullptr;
    WMFHANDLES* m_handles = nullptr;
    uint32_t m_pen = 0;
    uint32_t m_brush = 0;
    uint32_t m_font = 0;
    bool m_ok = false;
};

} // namespace

// Turns what a painter does into calls of a recorder: coordinates through the painter's
// transform, pens, brushes and fonts only when they change.
class MetafileEngine final : public QPaintEngine {
public:
    MetafileEngine(Metafile::Format format, QSize size, int dpi)
        : QPaintEngine(AllFeatures)
        , m_format(format)
        , m_size(size)
        , m_dpi(dpi)
    {
    }

    QByteArray bytes() const { return m_bytes; }

    bool begin(QPaintDevice*) override
    {
        m_bytes.clear();
        if (m_format == Metafile::Format::Enhanced)
            m_recorder = std::make_unique<EmfRecorder>(m_size, m_dpi);
        else
            m_recorder = std::make_unique<WmfRecorder>(m_size, m_dpi);
        m_penKey.reset();
        m_brushKey.reset();
        m_fontKey.clear();
        m_textColour = QColor();
        return true;
    }
    bool end() override
    {
        m_bytes = m_recorder ? m_recorder->finish() : QByteArray();
        m_recorder.reset();
        return !m_bytes.isEmpty();
    }
    Type type() const override { return static_cast<Type>(User + 7); }

    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & DirtyPen)
            m_pen = state.pen();
        if (state.state() & DirtyBrush)
            m_brush = state.brush();
        if (state.state() & DirtyFont)
            m_font = state.font();
        if (state.state() & DirtyTransform)
            m_transform = state.transform();
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        QPolygon mapped;
        for (int i = 0; i < count; ++i)
            mapped << m_transform.map(points[i]).toPoint();
        if (mode == PolylineMode) {
            applyPen();
            m_recorder->polyline(mapped);
        } else {
            applyPen();
            applyBrush();
            m_recorder->polygon(mapped);
        }
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override
    {
        std::vector<QPointF> converted(points, points + count);
        drawPolygon(converted.data(), count, mode);
    }
    void drawLines(const QLineF* lines, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QPointF ends[2] = {lines[i].p1(), lines[i].p2()};
            drawPolygon(ends, 2, PolylineMode);
        }
    }
    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QPolygonF corners(rects[i]);
            drawPolygon(corners.constData(), 4, OddEvenMode);
        }
    }
    void drawEllipse(const QRectF& box) override
    {
        if (m_transform.type() <= QTransform::TxScale) {
            applyPen();
            applyBrush();
            m_recorder->ellipse(m_transform.mapRect(box).toRect());
            return;
        }
        QPainterPath path;
        path.addEllipse(box);
        drawPath(path);
    }
    void drawPath(const QPainterPath& path) override
    {
        for (const QPolygonF& part : path.toSubpathPolygons()) {
            const bool closed = part.size() > 2 && part.isClosed();
            drawPolygon(part.constData(), static_cast<int>(part.size()),
                        closed && m_brush.style() != Qt::NoBrush ? OddEvenMode : PolylineMode);
        }
    }
    void drawTextItem(const QPointF& at, const QTextItem& item) override
    {
        const QString text = item.text();
        if (text.isEmpty())
            return;
        const QFont font = item.font();
        const double angle = std::atan2(m_transform.m12(), m_transform.m11()) * 180 / M_PI;
        const double scale = std::hypot(m_transform.m11(), m_transform.m12());
        const int pixels = static_cast<int>(std::lround(pixelSize(font) * scale));
        const int tenths = static_cast<int>(std::lround(-angle * 10));
        const QString key = font.key() + QString::number(pixels) + u'/' + QString::number(tenths);
        if (key != m_fontKey) {
            m_recorder->font(font, pixels, tenths);
            m_fontKey = key;
        }
        const QColor colour = m_pen.color();
        if (colour != m_textColour) {
            m_recorder->textColour(colour);
            m_textColour = colour;
        }
        // Advances rounded so that their sum follows the text's width.
        const QFontMetricsF metrics(font);
        std::vector<int> advances;
        double done = 0;
        int given = 0;
        for (const QChar c : text) {
            done += metrics.horizontalAdvance(c) * scale;
            advances.push_back(static_cast<int>(std::lround(done)) - given);
            given += advances.back();
        }
        m_recorder->text(m_transform.map(at).toPoint(), text, advances);
    }
    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override
    {
        drawImage(target, pixmap.toImage(), source, Qt::AutoColor);
    }
    void drawImage(const QRectF& target, const QImage& image, const QRectF& source, Qt::ImageConversionFlags) override
    {
        m_recorder->image(m_transform.mapRect(target).toRect(), image.copy(source.toRect()));
    }

private:
    double pixelSize(const QFont& font) const
    {
        return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * m_dpi / 72;
    }
    void applyPen()
    {
        const int width = std::max(
            1, static_cast<int>(std::lround(m_pen.widthF() * std::sqrt(std::abs(m_transform.determinant())))));
        const auto key = std::tuple{m_pen.color().rgba(), width, static_cast<int>(m_pen.style())};
        if (m_penKey == key)
            return;
        m_recorder->pen(m_pen.color(), width, m_pen.style());
        m_penKey = key;
    }
    void applyBrush()
    {
        QColor colour = m_brush.style() == Qt::NoBrush ? QColor() : m_brush.color();
        if (m_brush.gradient() && !m_brush.gradient()->stops().isEmpty())
            colour = m_brush.gradient()->stops().front().second;
        const QRgb key = colour.isValid() ? colour.rgba() : 0;
        if (m_brushKey == key)
            return;
        m_recorder->brush(colour);
        m_brushKey = key;
    }

    Metafile::Format m_format;
    QSize m_size;
    int m_dpi;
    std::unique_ptr<Recorder> m_recorder;
    QByteArray m_bytes;
    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
    QTransform m_transform;
    std::optional<std::tuple<QRgb, int, int>> m_penKey;
    std::optional<QRgb> m_brushKey;
    QString m_fontKey;
    QColor m_textColour;
};

Metafile::Metafile(Format format, QSize size, int dpi)
    : m_size(size)
    , m_dpi(dpi)
    , m_engine(std::make_unique<MetafileEngine>(format, size, dpi))
{
}

Metafile::~Metafile() = default;

QPaintEngine* Metafile::paintEngine() const
{
    return m_engine.get();
}

QByteArray Metafile::bytes() const
{
    return m_engine->bytes();
}

int Metafile::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_size.width();
    case PdmHeight: return m_size.height();
    case PdmWidthMM: return m_size.width() * 254 / (10 * m_dpi);
    case PdmHeightMM: return m_size.height() * 254 / (10 * m_dpi);
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return m_dpi;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
    default: return 0;
    }
}

} // namespace kav
