#include "platform/qt/file_dialog.h"

#include "platform/qt/field_labels.h"
#include "platform/qt/typed_file_name.h"

#include <QLineEdit>

namespace vellumar {

FileDialog::FileDialog(QWidget* parent, const FileDialogSpec& request, AcceptMode mode)
    : QFileDialog(parent, request.title, request.directory), defaultSuffix_(request.defaultSuffix) {
    // The typed name is resolved here, which a platform's own dialog would not let us do.
    setOption(QFileDialog::DontUseNativeDialog);
    // The descriptions already name their patterns ("*.SPB (Spellbook Files)").
    setOption(QFileDialog::HideNameFilterDetails);
    setAcceptMode(mode);
    QStringList filters;
    for (const FileFilter& filter : QtFileFilters(request.filter)) {
        filters << filter.qtFilter;
        descriptions_ << filter.description;
        filterPatterns_ << filter.patterns;
    }
    setNameFilters(filters);
    // No default suffix of the dialog's own: it would hide a bare name from accept().
    setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.fileName.isEmpty()) selectFile(request.fileName);
    // "Look in" and "Files of type" label their lists only by their place.
    BuddyUnlabelledFields(*this);
}

void FileDialog::accept() {
    const QStringList typed = selectedFiles();
    if (typed.size() == 1) {
        // The dialog names the chosen filter as it shows it: by its description.
        const qsizetype filter = descriptions_.indexOf(selectedNameFilter());
        QStringList extensions;
        if (!defaultSuffix_.isEmpty()) extensions << defaultSuffix_;
        if (filter >= 0) extensions << PatternExtensions(filterPatterns_[filter]);
        const QString resolved = ResolveTypedFileName(typed[0], extensions, defaultSuffix_);
        if (resolved != typed[0]) {
            // selectFile leaves the name field alone while it has the focus.
            if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(resolved);
            else
                selectFile(resolved);
        }
    }
    QFileDialog::accept();
}

} // namespace vellumar
