#include "ui/text.h"

#include <QDir>
#include <QFile>

#include "model/cp1251.h"

namespace vorsin::ui {

QString Q(const std::string& cp1251) { return QString::fromStdString(ToUtf8(cp1251)); }

std::string Cp1251(const QString& text) { return Cp(text.toStdString()); }

bool InCodePage(const QString& text) { return Q(Cp1251(text)) == text; }

QStringList Texts(const std::vector<std::string>& cp1251) {
  QStringList texts;
  for (const auto& text : cp1251) texts << Q(text);
  return texts;
}

#ifdef _WIN32
FilePath ToFsPath(const QString& path) { return FilePath(QDir::toNativeSeparators(path).toStdWString()); }
QString FromFsPath(const FilePath& path) { return QString::fromStdWString(path.native()); }
#else
FilePath ToFsPath(const QString& path) { return FilePath(QFile::encodeName(path).toStdString()); }
QString FromFsPath(const FilePath& path) { return QFile::decodeName(QByteArray::fromStdString(path.native())); }
#endif

}  // namespace vorsin::ui
