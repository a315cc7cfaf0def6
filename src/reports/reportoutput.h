#pragma once

#include "reportdocument.h"

#include <QPrinterInfo>
#include <functional>

class QWidget;
struct Session;

// Where a laid-out document goes: the default printer, the modal preview, or a PDF file.
namespace Report {

// Prints on the default printer. A machine without a printer says so and offers to save the document as PDF.
// Failures are told through the session's messages.
void Print(Session &session, const Document &doc, QWidget *parent = nullptr);
// The modal print preview; its tool bar also saves the document as PDF.
void Preview(Session &session, const Document &doc, QWidget *parent = nullptr);
void Output(Session &session, const Document &doc, bool preview, QWidget *parent = nullptr);

// Asks for a file name (proposed in the documents folder) and writes the PDF there; false when cancelled or
// the file could not be written (said through the messages).
bool SaveAsPdf(Session &session, const Document &doc, QWidget *parent = nullptr);
// False when the file cannot be written.
bool WritePdf(const Document &doc, const QString &path);

// The printer Print() uses, QPrinterInfo::defaultPrinter() unless replaced. Tests replace it so that no job
// ever reaches a real printer.
std::function<QPrinterInfo()> &DefaultPrinterSource();

} // namespace Report
