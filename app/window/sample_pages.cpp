#include "app/window/sample_pages.h"

#include "app/core/cp1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>

namespace {
const QString SubFolder = QStringLiteral("samples/moi");

bool isFolder(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}
} // namespace

QString SamplePages::folder() {
    const QString fromEnv = qEnvironmentVariable("VORBEL_SAMPLES_DIR");
    if (!fromEnv.isEmpty())
        return fromEnv;
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty()) {
        for (const QString& candidate :
             {QDir(exeDir).filePath(SubFolder),
              QDir(exeDir).filePath(QStringLiteral("../") + SubFolder)}) {
            if (isFolder(candidate))
                return QDir::cleanPath(candidate);
        }
    }
    return QStringLiteral(VORBEL_SAMPLES_SOURCE_DIR);
}

QString SamplePages::fileName(int phoneType, int sampleNumber) {
    static const std::array<const char*, 3> type0 = {
        "spa504g_inbellen.txt", "spa504g_uitbellen.txt", "spa504g_uitbellen.txt"};
    static const std::array<const char*, 3> type1 = {"spacfg.xml", "spacfg_bellen.xml",
                                                     "spacfg_uitbellen.xml"};
    if (sampleNumber < 1 || sampleNumber > 3)
        return {};
    const auto i = static_cast<std::size_t>(sampleNumber - 1);
    if (phoneType == 0)
        return QString::fromLatin1(type0.at(i));
    if (phoneType == 1)
        return QString::fromLatin1(type1.at(i));
    return {};
}

bool SamplePages::read(const QString& folder, int phoneType, int sampleNumber, QString* page,
                       QString* error) {
    page->clear();
    const QString name = fileName(phoneType, sampleNumber);
    if (name.isEmpty())
        return true;
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString());
        return false;
    }
    const QString text = fromCp1252(file.readAll());
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString());
        return false;
    }
    // Lines end at "\r\n", "\r" or "\n"; a final line break does not start another line.
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        page->append(QStringView(text).mid(start, end - start));
        page->append(QStringLiteral("\r\n"));
        if (end < n && text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return true;
}
