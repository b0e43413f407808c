#include "eq/PeqReviewDialog.h"

#include "app/WindowState.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

PeqReviewRunner runner;

QString U(const std::string& s) {
    return QString::fromStdString(s);
}

QString Num(double v, int decimals) {
    return QString::number(v, 'f', decimals);
}

// The plan's rows as the review shows them: what the file asked, what the unit's grid gives.
QTableWidget* ReviewTable(const PeqPlan& plan, QWidget* parent) {
    auto* table = new QTableWidget(static_cast<int>(plan.Rows.size()), 9, parent);
    table->setObjectName(QStringLiteral("PeqReviewTable"));
    table->setHorizontalHeaderLabels(
        {Lang(QStringLiteral("频段"), QStringLiteral("Band")),
         Lang(QStringLiteral("来源"), QStringLiteral("Source")),
         Lang(QStringLiteral("类型"), QStringLiteral("Type")),
         Lang(QStringLiteral("频率 请求"), QStringLiteral("Fc wanted")),
         Lang(QStringLiteral("频率 应用"), QStringLiteral("Fc applied")),
         Lang(QStringLiteral("增益 请求"), QStringLiteral("Gain wanted")),
         Lang(QStringLiteral("增益 应用"), QStringLiteral("Gain applied")),
         Lang(QStringLiteral("Q 请求"), QStringLiteral("Q wanted")),
         Lang(QStringLiteral("Q 应用"), QStringLiteral("Q applied"))});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    for (int r = 0; r < table->rowCount(); ++r) {
        const PeqRow& row = plan.Rows[static_cast<std::size_t>(r)];
        const PeqFilter& f = row.Source;
        const bool gain = row.Type <= 2;
        QString source =
            Lang(QStringLiteral("第%1行 ").arg(f.Line), QStringLiteral("line %1 ").arg(f.Line)) +
            U(f.TypeText);
        if (f.Kind == PeqKind::LowShelf || f.Kind == PeqKind::HighShelf) {
            if (f.HasQ)
                source += QStringLiteral(" Q%1").arg(Num(f.Q, 2));
            else if (f.Slope > 0)
                source += QStringLiteral(" %1dB").arg(Num(f.Slope, 0));
        }
        QString type = QCoreApplication::translate("BandType", PeqTypeName(row.Type).c_str());
        if (!f.On) type += Lang(QStringLiteral("（直通）"), QStringLiteral(" (bypassed)"));
        const QStringList cells = {QString::number(r + 1),
                                   source,
                                   type,
                                   Num(f.Freq, 1),
                                   U(PeqFreqText(row.Band.v[1])),
                                   gain ? Num(f.Gain, 1) : QStringLiteral("–"),
                                   gain ? U(PeqGainText(row.Band.v[2])) : QStringLiteral("–"),
                                   Num(row.ReqQ, 2),
                                   U(PeqQText(row.Band.v[row.Type == 0 ? 3 : 4]))};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c == 1 || c == 2 ? Qt::AlignLeft | Qt::AlignVCenter
                                                    : Qt::AlignCenter);
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    int height = table->horizontalHeader()->height() + 4;
    for (int r = 0; r < table->rowCount(); ++r)
        height += table->rowHeight(r);
    table->setMinimumSize(table->horizontalHeader()->length() + 4, std::min(height, 320));
    return table;
}

} // namespace

PeqReviewDialog::PeqReviewDialog(const PeqFile& file, const PeqPlan& plan, const QString& fileName,
                                 QWidget* parent)
    : QDialog(parent), plan_(plan) {
    setObjectName(QStringLiteral("PeqReviewDialog"));
    setWindowTitle(tr("导入滤波器"));
    const bool zh = Window.LanguageFlag == 1;
    auto* layout = new QVBoxLayout(this);

    const QString module = plan.Module == 1 ? tr("主声道") : tr("辅助");
    auto* heading = new QLabel(Lang(QStringLiteral("%1 → %2，%3 个频段")
                                        .arg(QFileInfo(fileName).fileName(), module)
                                        .arg(plan.Bands),
                                    QStringLiteral("%1 -> %2, %3 bands")
                                        .arg(QFileInfo(fileName).fileName(), module)
                                        .arg(plan.Bands)),
                               this);
    layout->addWidget(heading);

    Table = ReviewTable(plan, this);
    layout->addWidget(Table);

    QStringList notes;
    for (const std::string& n : PeqNotes(file, plan, zh))
        notes << U(n);
    NotesLabel = new QLabel(notes.join(QLatin1Char('\n')), this);
    NotesLabel->setObjectName(QStringLiteral("PeqNotes"));
    NotesLabel->setWordWrap(true);
    NotesLabel->setVisible(!notes.isEmpty());
    layout->addWidget(NotesLabel);

    auto* others = new QGroupBox(
        Lang(QStringLiteral("文件之外的频段"), QStringLiteral("Bands beyond the file")), this);
    auto* ol = new QHBoxLayout(others);
    ResetRadio = new QRadioButton(
        Lang(QStringLiteral("恢复默认值"), QStringLiteral("Reset to defaults")), others);
    KeepRadio = new QRadioButton(
        Lang(QStringLiteral("保持不变"), QStringLiteral("Leave as they are")), others);
    ResetRadio->setChecked(true);
    ol->addWidget(ResetRadio);
    ol->addWidget(KeepRadio);
    others->setVisible(static_cast<int>(plan.Rows.size()) < plan.Bands);
    layout->addWidget(others);
    connect(ResetRadio, &QRadioButton::toggled, this, [this] { ShowDeviation(); });

    DeviationLabel = new QLabel(this);
    DeviationLabel->setObjectName(QStringLiteral("PeqDeviation"));
    layout->addWidget(DeviationLabel);
    ShowDeviation();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    OkButton = buttons->button(QDialogButtonBox::Ok);
    CancelButton = buttons->button(QDialogButtonBox::Cancel);
    OkButton->setText(Lang(QStringLiteral("应用"), QStringLiteral("Apply")));
    CancelButton->setText(Lang(QStringLiteral("取消"), QStringLiteral("Cancel")));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

bool PeqReviewDialog::ResetOthers() const {
    return ResetRadio->isChecked();
}

void PeqReviewDialog::ShowDeviation() {
    const PeqDeviation d = WorstDeviation(plan_, ResetOthers());
    DeviationLabel->setText(d.WorstDb > 0
                                ? Lang(QStringLiteral("最大偏差：%1 dB（%2 Hz）"),
                                       QStringLiteral("Worst deviation: %1 dB (at %2 Hz)"))
                                      .arg(Num(d.WorstDb, 2), Num(d.AtHz, 0))
                                : Lang(QStringLiteral("最大偏差：0.00 dB"),
                                       QStringLiteral("Worst deviation: 0.00 dB")));
}

void SetPeqReviewRunner(PeqReviewRunner r) {
    runner = std::move(r);
}

int RunPeqReview(PeqReviewDialog& dialog) {
    return runner ? runner(dialog) : dialog.exec();
}
