#pragma once
#include "ReportData.h"
#include "ReportTemplate.h"

#include <optional>

namespace cangshu::report {

class ReportRenderer;

// A prepared report: the template together with the rows, texts and pictures it was
// printed with, so that it shows and prints the same when opened again later.
struct PreparedReport {
    ReportTemplate tpl;
    ReportData data;
};

inline const char* kPreparedSuffix = ".crp";

bool savePreparedReport(const ReportRenderer& renderer, const QString& path, QString* error);
std::optional<PreparedReport> loadPreparedReport(const QString& path, QString* error);

// The printed texts, page by page, as a text file or a web page.
bool saveReportText(const ReportRenderer& renderer, const QString& path, QString* error);
bool saveReportHtml(const ReportRenderer& renderer, const QString& path, QString* error);

} // namespace cangshu::report
