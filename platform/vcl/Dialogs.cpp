#include "platform/vcl/Dialogs.h"

#include <QFileDialog>

#include "platform/vcl/Controls.h"

namespace {

// "Text files|*.txt|All|*.*" to Qt's "Text files (*.txt);;All (*.*)".
QString QtFilter(const System::WideString& filter) {
  const QStringList parts = ToQString(filter).split('|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) out << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
  return out.join(";;");
}

}  // namespace

bool TOpenDialog::Execute() {
  const QString filter = QtFilter(Filter);
  const QStringList filters = filter.split(";;");
  QString selected = FilterIndex >= 1 && FilterIndex <= filters.size() ? filters[FilterIndex - 1] : QString();
  const QString dir = ToQString(FileName.empty() ? InitialDir : FileName);
  Files.clear();
  if (AllowMultiSelect) {
    const QStringList names = QFileDialog::getOpenFileNames(nullptr, ToQString(Title), dir, filter, &selected);
    for (const auto& n : names) Files.push_back(FromQString(n));
    if (Files.empty()) return false;
    FileName = Files.front();
    return true;
  }
  const QString name = QFileDialog::getOpenFileName(nullptr, ToQString(Title), dir, filter, &selected);
  if (name.isEmpty()) return false;
  FileName = FromQString(name);
  Files.push_back(FileName);
  return true;
}

bool TSaveDialog::Execute() {
  const QString filter = QtFilter(Filter);
  QString selected;
  QString name = QFileDialog::getSaveFileName(nullptr, ToQString(Title), ToQString(FileName.empty() ? InitialDir : FileName),
                                              filter, &selected);
  if (name.isEmpty()) return false;
  if (!DefaultExt.empty() && QFileInfo(name).suffix().isEmpty()) name += "." + ToQString(DefaultExt);
  FileName = FromQString(name);
  return true;
}

bool SelectDirectory(const System::WideString& caption, const System::WideString& root, System::WideString& directory) {
  const QString chosen = QFileDialog::getExistingDirectory(nullptr, ToQString(caption),
                                                           ToQString(directory.empty() ? root : directory));
  if (chosen.isEmpty()) return false;
  directory = FromQString(chosen);
  return true;
}
