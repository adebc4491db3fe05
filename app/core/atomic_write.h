#pragma once

// Replaces a file as a whole: the bytes go to a temporary file beside it, which then takes the
// file's name. When anything fails the previous file stays as it was.

#include <QByteArrayView>
#include <QString>

bool writeFileAtomically(const QString& path, QByteArrayView bytes, QString* error = nullptr);
