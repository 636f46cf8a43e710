#include "paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace tavlo {

std::string documents_folder() {
  QString d = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  while (d.size() > 1 && d.endsWith('/')) d.chop(1);
  return d.toStdString();
}

std::string desktop_folder() {
  QString d = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  if (d.isEmpty()) return {};
  if (!d.endsWith('/')) d += '/';
  return d.toStdString();
}

std::string executable_path() {
  return QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath().toStdString();
}

std::string program_folder() {
  QString d = QCoreApplication::applicationDirPath();
  while (d.size() > 1 && d.endsWith('/')) d.chop(1);
  return d.toStdString();
}

std::string executable_name() {
  return QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
}

}  // namespace tavlo
