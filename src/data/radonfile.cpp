#include "data/radonfile.h"

#include "base/readfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>
#include <QStringDecoder>

#include <limits>

namespace kav {

namespace {

// The file's lines, ending at CR, LF or CR LF; UTF-16 and UTF-8 with a byte-order mark are
// decoded, anything else is taken as UTF-8 (the numbers are ASCII in any case).
QStringList linesOf(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::encodingForData(bytes).value_or(QStringDecoder::Utf8),
                           QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    // A line break ends the line before it; nothing follows the last one.
    if (text.endsWith(u'\n'))
        lines.removeLast();
    return lines;
}

QString numbers(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 number") : QStringLiteral("%1 numbers").arg(count);
}

// A value of the file: a non-negative number with a point and an optional exponent.
bool readValue(const QString& field, float& value)
{
    bool ok = false;
    const double v = field.toDouble(&ok);
    if (!ok || !(v >= 0) || v > std::numeric_limits<float>::max())
        return false;
    value = static_cast<float>(v);
    return true;
}

// Numbers are separated by blanks or tabs, however many.
QStringList fieldsOf(const QString& line)
{
    static const QRegularExpression separators(QStringLiteral("[ \t]+"));
    return line.split(separators, Qt::SkipEmptyParts);
}

// What the values of a table are: dose coefficients of the gases, doses per exposure to the
// progeny.
QString notANumber(int line, const QString& field, RadonTable type)
{
    return QStringLiteral("line %1: \"%2\" is not a %3")
        .arg(line + 1)
        .arg(field.left(40),
             type == RadonTable::GasAlone ? QStringLiteral("dose coefficient") : QStringLiteral("dose per exposure"));
}

// The first numbers of a line, as many as the table needs; what follows them is not read.
bool readNumbers(const QStringList& lines, int line, int wanted, RadonTable type, float* values, QString& problem)
{
    const QStringList fields = fieldsOf(lines[line]);
    if (fields.size() < wanted) {
        problem = QStringLiteral("line %1: %2, %3 needed").arg(line + 1).arg(numbers(fields.size()), numbers(wanted));
        return false;
    }
    for (int f = 0; f < wanted; ++f)
        if (!readValue(fields[f], values[f])) {
            problem = notANumber(line, fields[f], type);
            return false;
        }
    return true;
}

} // namespace

RadonLoadResult readRadonBlock(const QByteArray& text, RadonTable type)
{
    RadonLoadResult result;
    const QStringList lines = linesOf(text);
    const int first = RadonBlockLines * static_cast<int>(type);
    if (lines.size() < first + RadonBlockLines) {
        result.problem
            = QStringLiteral("%1, the table needs lines %2 to %3")
                  .arg(lines.size() == 1 ? QStringLiteral("1 line") : QStringLiteral("%1 lines").arg(lines.size()))
                  .arg(first + 1)
                  .arg(first + RadonBlockLines);
        return result;
    }
    result.status = RadonLoadResult::Invalid;
    RadonBlock& block = result.block;
    const bool gases = type == RadonTable::GasAlone;
    for (int organ = 0; organ < 29; ++organ) {
        float values[6];
        if (!readNumbers(lines, first + 1 + organ, 6, type, values, result.problem))
            return result;
        for (int g = 0; g < 3; ++g) {
            block.radonData[static_cast<std::size_t>(60 * g + organ)] = values[gases ? 2 * g : g];
            block.radonData[static_cast<std::size_t>(60 * g + 30 + organ)] = values[gases ? 2 * g + 1 : g + 3];
        }
    }
    const int wanted = gases ? 3 : 1;
    float effective[3];
    if (!readNumbers(lines, first + RadonBlockLines - 1, wanted, type, effective, result.problem))
        return result;
    block.effectiveDose.assign(effective, effective + wanted);
    result.status = RadonLoadResult::Loaded;
    return result;
}

RadonLoadResult loadRadonBlock(const QString& folder, RadonTable type)
{
    const QString path = QDir(folder).filePath(RadonDataFileName);
    QFile file(path);
    RadonLoadResult result;
    // A pipe or a device would keep the window waiting on its first read.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        result.problem = path + QStringLiteral(": not a file");
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = path + QStringLiteral(": ") + file.errorString();
        return result;
    }
    if (file.size() > MaxRadonDataFileSize) {
        result.problem = path + QStringLiteral(": %1 bytes, far more than radon data").arg(file.size());
        return result;
    }
    result = readRadonBlock(readAtMost(file, MaxRadonDataFileSize), type);
    if (!result.problem.isEmpty())
        result.problem = path + QStringLiteral(", ") + result.problem;
    return result;
}

} // namespace kav
