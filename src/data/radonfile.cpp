#include "data/radonfile.h"

#include <QDir>
#include <QFile>
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
    return text.split(u'\n');
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

QString notANumber(int line, const QString& field)
{
    return QStringLiteral("line %1: \"%2\" is not a dose coefficient").arg(line + 1).arg(field.left(40));
}

} // namespace

TRadonLoadResult ReadRadonBlock(const QByteArray& text, TRadonDataType type)
{
    TRadonLoadResult result;
    const QStringList lines = linesOf(text);
    const int first = RadonBlockLines * type;
    if (lines.size() < first + RadonBlockLines) {
        result.Problem = QStringLiteral("%1 lines, the table needs lines %2 to %3")
                             .arg(lines.size()).arg(first + 1).arg(first + RadonBlockLines);
        return result;
    }
    result.Status = TRadonLoadResult::Invalid;
    TRadonBlock& block = result.Block;
    for (int organ = 0; organ < 29; ++organ) {
        const int line = first + 1 + organ;
        const QStringList fields = fieldsOf(lines[line]);
        if (fields.size() != 6) {
            result.Problem = QStringLiteral("line %1: %2 numbers, six are needed").arg(line + 1).arg(fields.size());
            return result;
        }
        float values[6];
        for (int f = 0; f < 6; ++f)
            if (!readValue(fields[f], values[f])) {
                result.Problem = notANumber(line, fields[f]);
                return result;
            }
        for (int g = 0; g < 3; ++g) {
            const bool gases = type == rdtGasAlone;
            block.RnData[static_cast<std::size_t>(60 * g + organ)] = values[gases ? 2 * g : g];
            block.RnData[static_cast<std::size_t>(60 * g + 30 + organ)] = values[gases ? 2 * g + 1 : g + 3];
        }
    }
    const int effective = first + RadonBlockLines - 1;
    const QStringList fields = fieldsOf(lines[effective]);
    const int wanted = type == rdtGasAlone ? 3 : 1;
    if (fields.size() != wanted) {
        result.Problem = QStringLiteral("line %1: %2 numbers, %3 needed").arg(effective + 1).arg(fields.size()).arg(wanted);
        return result;
    }
    for (const QString& field : fields) {
        float value = 0;
        if (!readValue(field, value)) {
            result.Problem = notANumber(effective, field);
            return result;
        }
        block.EffDose.push_back(value);
    }
    result.Status = TRadonLoadResult::Loaded;
    return result;
}

TRadonLoadResult LoadRadonBlock(const QString& folder, TRadonDataType type)
{
    const QString path = QDir(folder).filePath(RadonDataFileName);
    QFile file(path);
    TRadonLoadResult result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.Problem = path + QStringLiteral(": ") + file.errorString();
        return result;
    }
    if (file.size() > MaxRadonDataFileSize) {
        result.Problem = path + QStringLiteral(": %1 bytes, far more than radon data").arg(file.size());
        return result;
    }
    result = ReadRadonBlock(file.read(MaxRadonDataFileSize), type);
    if (!result.Problem.isEmpty())
        result.Problem = path + QStringLiteral(", ") + result.Problem;
    return result;
}

} // namespace kav
