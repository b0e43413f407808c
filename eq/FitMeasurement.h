#pragma once
// "按测量拟合…": the module on the graph fitted to a measurement file, off the
// user-interface thread, reviewed before anything is sent.

#include <QString>
#include <functional>

class QObject;
class QProgressDialog;

void FitMeasurementBtnClick(QObject* Sender);

// The file dialog's filter for measurement and target files.
QString MeasurementFilter();

// Called with the progress dialog once it is shown, while the fit runs
// (tests press its Cancel button here).
void SetFitProgressHook(std::function<void(QProgressDialog&)> hook);
