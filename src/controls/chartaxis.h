#pragma once

#include <QString>

#include <vector>

namespace kav {

// One axis of a chart: its range, linear or logarithmic, taken from the data (automatic) or set,
// its grid lines, title and label pattern, and the ticks and positions that follow from them.
class ChartAxis {
public:
    enum class Side : std::uint8_t { Bottom, Left };
    explicit ChartAxis(Side place)
        : m_place(place)
    {
    }

    Side place() const { return m_place; }
    bool logarithmic() const { return m_logarithmic; }
    void setLogarithmic(bool value) { m_logarithmic = value; }
    // An automatic axis follows the data of the switched-on series.
    bool automatic() const { return m_automatic; }
    void setAutomatic(bool value) { m_automatic = value; }
    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    // Sets both ends and switches automatic off; the ends are put in order.
    void setMinMax(double minimum, double maximum);
    // The range an automatic axis takes from the data.
    void setAutoRange(double minimum, double maximum);

    bool majorGrid = true;
    bool minorGrid = false;
    int minorTickCount = 8;
    QString title;
    // The picture pattern of the labels (see formatPicture).
    QString labelFormat = QStringLiteral("0.#######E-#");

    // The range drawn: a logarithmic axis never starts at or below zero.
    double drawnMinimum() const;
    double drawnMaximum() const;
    // The position of a value along the axis, 0 at the drawn minimum and 1 at the maximum; and back.
    double toFraction(double value) const;
    double fromFraction(double fraction) const;
    // Ticks within the drawn range: majors at whole decades (logarithmic; every step-th one) or at
    // round steps that give about the number asked for (linear); minors between them (on a
    // logarithmic axis every decade that is not a major one, and 2 to 9 times each decade where
    // there is room).
    std::vector<double> majorTicks(int wanted) const;
    std::vector<double> minorTicks(int wanted) const;

private:
    // For a logarithmic axis: the decades between two major ticks.
    int decadeStep(int wanted) const;
    double linearStep(int wanted) const;

    Side m_place;
    bool m_logarithmic = false;
    bool m_automatic = true;
    double m_minimum = 0;
    double m_maximum = 1;
};

} // namespace kav
