#pragma once

#include <QByteArray>
#include <QList>

namespace kav {

// A radon data file whose values say where they stand: in block t, organ j, field f the number
// (t + 1) × 1e-(f + 1) × (j + 1) / 100, and the effective values (t + 1) × 1e-3 × (k + 1).
inline double radonValue(int block, int organ, int field)
{
    double v = (block + 1) * (organ + 1) / 100.0;
    for (int i = 0; i <= field; ++i)
        v /= 10;
    return v;
}

inline double radonEffective(int block, int k)
{
    return (block + 1) * 1e-3 * (k + 1);
}

inline QByteArray radonText()
{
    QByteArray text;
    for (int block = 0; block < 6; ++block) {
        text += "Table " + QByteArray::number(block) + "\r\n";
        for (int organ = 0; organ < 29; ++organ) {
            QList<QByteArray> fields;
            for (int f = 0; f < 6; ++f)
                fields << QByteArray::number(radonValue(block, organ, f), 'E', 4);
            text += fields.join(' ') + "\r\n";
        }
        QList<QByteArray> effective;
        for (int k = 0; k < (block == 0 ? 3 : 1); ++k)
            effective << QByteArray::number(radonEffective(block, k), 'E', 4);
        text += effective.join(' ') + "\r\n";
    }
    return text;
}

} // namespace kav
