#include "reportservices.h"

#include "choosers.h"
#include "exportservices.h"
#include "tfrm_hatarolt.h"
#include "tfrm_nyomvalaszt.h"

ReportServices ReportServices::Default(Session &session, Engine &engine, Messages &messages, FileDialogs &fileDialogs,
                                       Report::DocumentOutput::PrinterSource printer)
{
    ReportServices services;
    services.period = [&session](const DateRange &preset, QWidget *parent) { return Idoszak(session, preset, parent); };
    services.chooseTill = [&session, &engine, &messages](int till, QWidget *parent) {
        return KasszaValaszt(session, engine, messages, till, true, nullptr, parent);
    };
    services.outputChoice = [&session](QWidget *parent) { return NyomValaszt(session, parent); };
    services.output = [output = Report::DocumentOutput(messages, fileDialogs, std::move(printer))](
                          const Report::Document &doc, bool preview, QWidget *parent) {
        output.output(doc, preview, parent);
    };
    services.exportRows = [&session, exportServices = ExportServices{messages, fileDialogs}](
                              ExportSource &rows, const QString &fileName, QWidget *parent) {
        HataroltExport(rows, fileName, session, exportServices, parent);
    };
    return services;
}

void DeliverReport(const ReportServices &services, const Report::Document &doc, ExportSource &rows, QWidget *parent)
{
    switch (services.outputChoice(parent)) {
    case Tfrm_NyomValaszt::Preview:
        services.output(doc, true, parent);
        break;
    case Tfrm_NyomValaszt::Print:
        services.output(doc, false, parent);
        break;
    case Tfrm_NyomValaszt::Export:
        services.exportRows(rows, doc.title + QStringLiteral(".csv"), parent);
        break;
    default:
        break;
    }
}
