#pragma once

#include "exportsource.h"
#include "reportdocument.h"
#include "reportoutput.h"
#include "tfrm_idoszak.h"

#include <functional>
#include <optional>

class Engine;
class FileDialogs;
class Messages;
class QWidget;
struct Session;

// The dialogs the report actions open and where their documents go, handed in per instance; Default() gives the
// program's own, tests replace the ones they script.
struct ReportServices
{
    // The period chooser (Idoszak): the chosen range, nothing when cancelled.
    std::function<std::optional<DateRange>(const DateRange &preset, QWidget *parent)> period;
    // The till chooser (KasszaValaszt) in choose mode on the given till: the chosen till, -1 when abandoned.
    std::function<int(int till, QWidget *parent)> chooseTill;
    // The output chooser (NyomValaszt): 0 preview, 1 print, 2 delimited export, -1 nothing.
    std::function<int(QWidget *parent)> outputChoice;
    // The document in the modal preview or on the printer (a machine without one offers PDF).
    std::function<void(const Report::Document &doc, bool preview, QWidget *parent)> output;
    // The delimited-text export of a report's rows, all fields offered and checked, the file name proposed.
    std::function<void(ExportSource &rows, const QString &fileName, QWidget *parent)> exportRows;

    static ReportServices Default(Session &session, Engine &engine, Messages &messages, FileDialogs &fileDialogs,
                                  Report::DocumentOutput::PrinterSource printer = Report::DefaultPrinter);
};

// The common output step of the period and closing reports: asks the output chooser, then previews or prints the
// document, or exports the rows it prints (the same source) into a file named after its title.
void DeliverReport(const ReportServices &services, const Report::Document &doc, ExportSource &rows, QWidget *parent);
