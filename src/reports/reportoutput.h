#pragma once

#include "reportdocument.h"

#include <QPrinterInfo>
#include <functional>

class FileDialogs;
class Messages;
class QWidget;

namespace Report {

// The printer the system names as its default.
QPrinterInfo DefaultPrinter();

// Where a laid-out document goes: the default printer, the modal preview, or a PDF file. Asks and tells through
// the message boxes and file dialogs it is given; prints on the printer its source names.
class DocumentOutput
{
public:
    using PrinterSource = std::function<QPrinterInfo()>;

    DocumentOutput(Messages &messages, FileDialogs &fileDialogs, PrinterSource printer = DefaultPrinter);

    // Prints on the printer. A machine without a printer says so and offers to save the document as PDF.
    void print(const Document &doc, QWidget *parent = nullptr) const;
    // The modal print preview; its tool bar also saves the document as PDF.
    void preview(const Document &doc, QWidget *parent = nullptr) const;
    void output(const Document &doc, bool preview, QWidget *parent = nullptr) const;
    // Asks for a file name (proposed in the documents folder, made when missing, else in the home folder) and
    // writes the PDF there. A file that cannot be written is said with the reason, and the dialog is offered
    // again; false when the dialog is cancelled.
    bool saveAsPdf(const Document &doc, QWidget *parent = nullptr) const;

private:
    Messages &m_messages;
    FileDialogs &m_fileDialogs;
    PrinterSource m_printer;
};

// Writes the document as PDF; the reason in Hungarian when the file could not be written, else empty.
QString WritePdf(const Document &doc, const QString &path);

} // namespace Report
