#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QSortFilterProxyModel>
#include <cstring>

#include "backends/qt/qt_windows.h"

namespace quorval {

namespace {

constexpr int kMaxFilterEntries = 16;

// The platform's patterns in Qt's spelling: ';' separates them, and "*.*"
// stands for every file, also one without a dot. "*." (after a log without
// an extension) stands for the files without one, which no wildcard of Qt's
// says: it becomes "*", narrowed by NoExtensionFilter.
QString QtPatterns(const char* pattern) {
  QStringList patterns;
  for (const QString& one : QString::fromLocal8Bit(pattern).split(u';', Qt::SkipEmptyParts)) {
    const QString trimmed = one.trimmed();
    const bool everyFile = trimmed == QLatin1String("*.*") || trimmed == QLatin1String("*.");
    patterns << (everyFile ? QStringLiteral("*") : trimmed);
  }
  return patterns.isEmpty() ? QStringLiteral("*") : patterns.join(u' ');
}

bool MeansFilesWithoutExtension(const char* pattern) { return std::strcmp(pattern, "*.") == 0; }

bool ListedWithoutExtension(const QString& fileName) { return !fileName.contains(u'.'); }

// While a "*." filter is selected, the dialog lists folders and the files
// whose names hold no dot.
class NoExtensionFilter final : public QSortFilterProxyModel {
 public:
  void SetActive(bool active) {
    active_ = active;
    invalidateFilter();
  }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    if (!active_) return true;
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (files == nullptr) return true;
    const QModelIndex index = files->index(row, 0, parent);
    return files->isDir(index) || ListedWithoutExtension(files->fileName(index));
  }

 private:
  bool active_ = false;
};

// Refuses, with a message, a choice that the dialog's flags do not allow or
// that the path buffer cannot hold; the dialog then stays open.
class OpenFileDialog final : public QFileDialog {
 public:
  OpenFileDialog(QWidget* owner, const OpenFileNameRequest& request)
      : QFileDialog(owner), request_(request) {}

 protected:
  void accept() override {
    const QStringList chosen = selectedFiles();
    if (!chosen.isEmpty()) {
      const QFileInfo file(chosen.first());
      if ((request_.Flags & OFN_PATHMUSTEXIST) != 0 && !file.isDir() && !file.dir().exists()) {
        RefuseChoice(QStringLiteral("%1\nThe folder does not exist.\nCheck the path and try again.").arg(chosen.first()));
        return;
      }
      if (QFile::encodeName(chosen.first()).size() >= static_cast<qsizetype>(request_.nMaxFile)) {
        RefuseChoice(QStringLiteral("%1\nThe path is too long: at most %2 characters fit.")
                   .arg(chosen.first())
                   .arg(request_.nMaxFile - 1));
        return;
      }
    }
    QFileDialog::accept();
  }

 private:
  void RefuseChoice(const QString& text) {
    QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
  }

  const OpenFileNameRequest& request_;
};

}  // namespace

QStringList NameFilters(const char* filter) {
  FilterEntry entries[kMaxFilterEntries];
  const int count = FilterEntries(filter, entries, kMaxFilterEntries);
  QStringList filters;
  for (int i = 0; i < count; ++i) {
    // Qt reads the patterns from the last parentheses; the description is
    // shown alone (HideNameFilterDetails), exactly as the program wrote it.
    filters << QString::fromLocal8Bit(entries[i].description) + QStringLiteral(" (") +
                   QtPatterns(entries[i].pattern) + QLatin1Char(')');
  }
  if (filters.isEmpty()) filters << QStringLiteral("(*)");
  return filters;
}

bool ShowOpenFileDialog(QWidget* owner, OpenFileNameRequest& request) {
  OpenFileDialog dialog(owner, request);
  // Qt's own dialog, not the desktop's: it behaves the same everywhere.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode((request.Flags & OFN_FILEMUSTEXIST) != 0 ? QFileDialog::ExistingFile
                                                                : QFileDialog::AnyFile);
  if (request.lpstrTitle != nullptr) dialog.setWindowTitle(QString::fromLocal8Bit(request.lpstrTitle));
  const QStringList filters = NameFilters(request.lpstrFilter);
  dialog.setNameFilters(filters);
  // Which of the filters stand for the files without an extension.
  FilterEntry entries[kMaxFilterEntries];
  const int entryCount = FilterEntries(request.lpstrFilter, entries, kMaxFilterEntries);
  QStringList withoutExtension;
  for (int i = 0; i < entryCount && i < filters.size(); ++i) {
    if (MeansFilesWithoutExtension(entries[i].pattern)) withoutExtension << filters[i];
  }
  auto* narrowing = new NoExtensionFilter;
  dialog.setProxyModel(narrowing);  // the dialog takes it over
  const auto narrow = [narrowing, withoutExtension](const QString& selected) {
    narrowing->SetActive(withoutExtension.contains(selected));
  };
  QObject::connect(&dialog, &QFileDialog::filterSelected, narrow);
  if (!filters.isEmpty()) narrow(filters.first());

  // The proposed name, and its folder as the one to start in.
  const QString proposed = QFile::decodeName(
      QByteArray(request.lpstrFile, static_cast<qsizetype>(strnlen(request.lpstrFile, request.nMaxFile))));
  if (!proposed.isEmpty()) {
    const QFileInfo file(proposed);
    if (file.dir().exists()) dialog.setDirectory(file.absolutePath());
    dialog.selectFile(file.fileName());
  }

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const QByteArray chosen = QFile::encodeName(dialog.selectedFiles().first());
  if (chosen.size() >= static_cast<qsizetype>(request.nMaxFile)) return false;
  std::memcpy(request.lpstrFile, chosen.constData(), static_cast<size_t>(chosen.size()) + 1);
  return true;
}

}  // namespace quorval
