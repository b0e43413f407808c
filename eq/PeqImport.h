#pragma once
// "导入滤波器…" and "导出滤波器…" of the band table: parametric EQ text for the
// module on the graph.

class QObject;

void PeqImportBtnClick(QObject* Sender);
void PeqExportBtnClick(QObject* Sender);
