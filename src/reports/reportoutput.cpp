#include "reportoutput.h"

#include "engineerror.h"
#include "filedialogs.h"
#include "messages.h"
#include "reportpainter.h"
#include "util.h"
#include "workarea.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QToolBar>

namespace Report {

namespace {

QString ProposedPdfPath(const Document &doc)
{
    QString name = doc.fileName.isEmpty() ? doc.title : doc.fileName;
    // Only what no file system takes; accented letters stay.
    static const QString unsafe = QStringLiteral("/\\:*?\"<>|");
    for (QChar &c : name)
        if (unsafe.contains(c))
            c = QLatin1Char('-');
    if (name.trimmed().isEmpty())
        name = QStringLiteral("dokumentum");
    // A new account has no documents folder yet: a proposal in a missing folder could not be written.
    QString folder = DocumentsFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder))
        folder = QDir::homePath();
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

// Why the file could not be written, in words the user can act on.
QString WriteFailureReason(const QString &path, const QFileDevice &file)
{
    const QFileInfo info(path);
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    if (!QFileInfo(info.absolutePath()).isDir())
        return QStringLiteral("A mappa nem létezik: %1").arg(folder);
    if (!QFileInfo(info.absolutePath()).isWritable())
        return QStringLiteral("A mappába nincs írási joga: %1").arg(folder);
    if (info.exists() && !info.isWritable())
        return QStringLiteral("A fájl írásvédett.");
    return QStringLiteral("Írási hiba (például megtelt a lemez): %1").arg(file.errorString());
}

} // namespace

QPrinterInfo DefaultPrinter()
{
    return QPrinterInfo::defaultPrinter();
}

DocumentOutput::DocumentOutput(Messages &messages, FileDialogs &fileDialogs, PrinterSource printer)
    : m_messages(messages), m_fileDialogs(fileDialogs), m_printer(std::move(printer))
{}

QString WritePdf(const Document &doc, const QString &path)
{
    // Through a save file, so that a failed write leaves an earlier file of that name whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return WriteFailureReason(path, file);
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(doc.title);
        writer.setCreator(QStringLiteral("Dromvel.Pro"));
        painted = PaintDocument(doc, writer);
    }
    if (!painted) {
        file.cancelWriting();
        return QStringLiteral("A dokumentum nem rajzolható ki.");
    }
    if (!file.commit())
        return WriteFailureReason(path, file);
    return QString();
}

bool DocumentOutput::saveAsPdf(const Document &doc, QWidget *parent) const
{
    QString proposed = ProposedPdfPath(doc);
    for (;;) {
        const QString path =
            m_fileDialogs.SaveFileName(QStringLiteral("Mentés PDF fájlba"), proposed,
                                       QStringLiteral("PDF fájlok (*.pdf)"), QStringLiteral("pdf"), parent);
        if (path.isEmpty())
            return false;
        const QString failure = WritePdf(doc, path);
        if (failure.isEmpty())
            return true;
        // The document is not lost: the user picks another place.
        m_messages.ShowError(QStringLiteral("A PDF fájl nem írható:\n%1\n%2\n\nVálasszon másik helyet.")
                                 .arg(QDir::toNativeSeparators(path), failure),
                             parent);
        proposed = path;
    }
}

void DocumentOutput::print(const Document &doc, QWidget *parent) const
{
    const QPrinterInfo info = m_printer();
    if (info.isNull()) {
        if (m_messages.AskYesNo(QStringLiteral("Nincs nyomtató beállítva ezen a gépen.\n"
                                               "Elmenti a dokumentumot PDF fájlba?"),
                                QStringLiteral("Nyomtatás"), parent))
            saveAsPdf(doc, parent);
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(doc.title);
    if (!PaintDocument(doc, printer))
        m_messages.ShowError(QStringLiteral("A nyomtatás nem sikerült a(z) \"%1\" nyomtatón.").arg(info.printerName()),
                             parent);
}

void DocumentOutput::preview(const Document &doc, QWidget *parent) const
{
    const QPrinterInfo info = m_printer();
    QPrinter printer(QPrinter::HighResolution);
    if (!info.isNull())
        printer.setPrinterName(info.printerName());
    printer.setDocName(doc.title);
    printer.setPageLayout(doc.setup.pageLayout());

    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("Tfrm_NyomtatasiKep"));
    dialog.setWindowTitle(QStringLiteral("Nyomtatási kép – %1").arg(doc.title));
    // A long report reads its rows again whenever the preview paints; no exception may leave the signal.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this, &doc, &dialog](QPrinter *target) {
        try {
            PaintDocument(doc, *target);
        } catch (const EngineError &error) {
            m_messages.ShowError(error.message(), &dialog);
        }
    });
    if (auto *toolBar = dialog.findChild<QToolBar *>()) {
        toolBar->addSeparator();
        QAction *pdf = toolBar->addAction(QIcon::fromTheme(QStringLiteral("document-save-as")),
                                          QStringLiteral("Mentés PDF fájlba"));
        pdf->setObjectName(QStringLiteral("aPdfMentes"));
        pdf->setToolTip(QStringLiteral("Mentés PDF fájlba"));
        QObject::connect(pdf, &QAction::triggered, &dialog, [this, &doc, &dialog] { saveAsPdf(doc, &dialog); });
    }
    const QRect area = WorkArea();
    dialog.resize(area.width() * 4 / 5, area.height() * 9 / 10);
    dialog.exec();
}

void DocumentOutput::output(const Document &doc, bool preview, QWidget *parent) const
{
    if (preview)
        this->preview(doc, parent);
    else
        print(doc, parent);
}

} // namespace Report
