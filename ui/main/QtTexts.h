#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>
#include <string_view>

namespace zz {

// The program's own texts are Latin-1.
inline QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Path names are in the file system's encoding, not Latin-1.
inline QString PathText(std::string_view text)
{
    return QFile::decodeName(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

inline std::string PathBytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace zz
