#include "app/core/handig.h"

bool ParamPresent(QStringView word, const QStringList& args) {
    const QString upperWord = word.toString().toUpper();
    for (const QString& arg : args) {
        if (arg.toUpper() == upperWord)
            return true;
    }
    return false;
}

QString DigitsAndPlus(QStringView text) {
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if ((c >= u'0' && c <= u'9') || c == u'+')
            result.append(c);
    }
    return result;
}

QString ReplaceAll(const QString& text, const QString& search, const QString& replacement) {
    if (search.isEmpty() || replacement.contains(search))
        return text;
    // A replacement can make a new occurrence only where it overlaps the replaced text, so the
    // search resumes just before it instead of at the start: same result, linear for the usual
    // texts. Growth is bounded so that a pathological pair cannot eat the memory.
    constexpr qsizetype GrowthLimit = 64 * 1024 * 1024;
    QString result = text;
    qsizetype from = 0;
    while (true) {
        const qsizetype at = result.indexOf(search, from);
        if (at < 0)
            break;
        result.replace(at, search.size(), replacement);
        if (result.size() > GrowthLimit)
            break;
        from = qMax<qsizetype>(0, at - search.size() + 1);
    }
    return result;
}

QStringView TrimBlanksView(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20)
        --end;
    return text.sliced(begin, end - begin);
}

QString TrimBlanks(QStringView text) {
    return TrimBlanksView(text).toString();
}
