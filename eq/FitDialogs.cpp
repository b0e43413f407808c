#include "eq/FitDialogs.h"

#include "app/Dialogs.h"
#include "app/WindowState.h"
#include "eq/FitMeasurement.h"
#include "params/ParamImage.h"
#include "presets/PresetFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

FitOptionsRunner optionsRunner;
FitReviewRunner reviewRunner;

QString U(const std::string& s) {
    return QString::fromStdString(s);
}

QDoubleSpinBox* Spin(QWidget* parent, const char* name, double lo, double hi, double step,
                     int decimals, double value, const QString& suffix) {
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(lo, hi);
    s->setSingleStep(step);
    s->setDecimals(decimals);
    s->setValue(value);
    s->setSuffix(suffix);
    return s;
}

QDialogButtonBox* Buttons(QDialog* d, const QString& ok, QPushButton*& okButton,
                          QPushButton*& cancelButton) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
    okButton = buttons->button(QDialogButtonBox::Ok);
    cancelButton = buttons->button(QDialogButtonBox::Cancel);
    okButton->setText(ok);
    cancelButton->setText(QDialog::tr("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, d, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, d, &QDialog::reject);
    return buttons;
}

} // namespace

FitOptionsDialog::FitOptionsDialog(const QString& measurementName, int module, QWidget* parent)
    : QDialog(parent), module_(module) {
    setObjectName(QStringLiteral("FitOptionsDialog"));
    setWindowTitle(tr("按测量拟合"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("%1 → %2")
                                     .arg(QFileInfo(measurementName).fileName(),
                                          module == 1 ? tr("主声道") : tr("辅助")),
                                 this));
    auto* form = new QFormLayout;
    layout->addLayout(form);

    TargetBox = new QComboBox(this);
    TargetBox->setObjectName(QStringLiteral("FitTargetBox"));
    TargetBox->addItems({tr("平直"), tr("房间曲线"), tr("目标文件")});
    form->addRow(tr("目标："), TargetBox);
    RiseSpin = Spin(this, "FitRiseSpin", -20, 20, 0.5, 1, 4, QStringLiteral(" dB"));
    CornerSpin = Spin(this, "FitCornerSpin", 20, 1000, 10, 0, 120, QStringLiteral(" Hz"));
    TiltSpin = Spin(this, "FitTiltSpin", -20, 20, 0.5, 1, -1, tr(" dB/十倍频"));
    form->addRow(tr("低频提升（低于转折频率）："), RiseSpin);
    form->addRow(tr("转折频率："), CornerSpin);
    form->addRow(tr("1 kHz 以上倾斜："), TiltSpin);
    auto* fileRow = new QHBoxLayout;
    TargetFileBtn = new QPushButton(tr("选择目标文件…"), this);
    TargetFileBtn->setObjectName(QStringLiteral("FitTargetFileBtn"));
    TargetFileLabel = new QLabel(tr("（未选择）"), this);
    fileRow->addWidget(TargetFileBtn);
    fileRow->addWidget(TargetFileLabel, 1);
    form->addRow(tr("目标文件："), fileRow);

    FromSpin = Spin(this, "FitFromSpin", 10, 24000, 10, 0, 20, QStringLiteral(" Hz"));
    ToSpin = Spin(this, "FitToSpin", 10, 24000, 1000, 0, 20000, QStringLiteral(" Hz"));
    BoostSpin = Spin(this, "FitBoostSpin", 0, 12, 0.2, 1, 6, QStringLiteral(" dB"));
    ShelvesCheck = new QCheckBox(tr("允许棚架滤波器"), this);
    ShelvesCheck->setObjectName(QStringLiteral("FitShelvesCheck"));
    ShelvesCheck->setChecked(true);
    BandsSpin = new QSpinBox(this);
    BandsSpin->setObjectName(QStringLiteral("FitBandsSpin"));
    BandsSpin->setRange(1, BandCount[module == 2 ? 2 : 1]);
    BandsSpin->setValue(BandsSpin->maximum());
    form->addRow(tr("从："), FromSpin);
    form->addRow(tr("到："), ToSpin);
    form->addRow(tr("单个频段最大提升："), BoostSpin);
    form->addRow(tr("使用频段数："), BandsSpin);
    form->addRow(QString(), ShelvesCheck);

    layout->addWidget(Buttons(this, tr("拟合"), OkButton, CancelButton));
    connect(TargetBox, &QComboBox::currentIndexChanged, this, [this] { ShowTargetKind(); });
    connect(TargetFileBtn, &QPushButton::clicked, this, [this] { PickTargetFile(); });
    ShowTargetKind();
}

void FitOptionsDialog::ShowTargetKind() {
    const int kind = TargetBox->currentIndex();
    for (QWidget* w : {static_cast<QWidget*>(RiseSpin), static_cast<QWidget*>(CornerSpin),
                       static_cast<QWidget*>(TiltSpin)})
        w->setEnabled(kind == 1);
    TargetFileBtn->setEnabled(kind == 2);
    // A file target needs its file before the fit can start.
    OkButton->setEnabled(kind != 2 || targetFile_.Ok);
}

void FitOptionsDialog::PickTargetFile() {
    const QString name = Dialogs().OpenFileName(this, MeasurementFilter());
    if (name.isEmpty()) return;
    Measurement m = ReadMeasurementFile(FileNameBytes(name));
    if (!m.Ok) {
        Dialogs().Notify(this, tr("目标文件"),
                         QStringLiteral("%1\n%2").arg(name, Lang(U(m.Error.Zh), U(m.Error.En))));
        return;
    }
    targetFile_ = std::move(m);
    TargetFileLabel->setText(QFileInfo(name).fileName());
    ShowTargetKind();
}

TargetCurve FitOptionsDialog::Target() const {
    TargetCurve t;
    if (TargetBox->currentIndex() == 1) {
        t.Kind = TargetCurve::House;
        t.Rise = RiseSpin->value();
        t.Corner = CornerSpin->value();
        t.Tilt = TiltSpin->value();
    } else if (TargetBox->currentIndex() == 2 && targetFile_.Ok) {
        t.Kind = TargetCurve::File;
        t.Points = targetFile_;
    }
    return t;
}

FitOptions FitOptionsDialog::Options() const {
    FitOptions o;
    o.Module = module_;
    o.FromHz = FromSpin->value();
    o.ToHz = ToSpin->value();
    o.MaxBoostDb = BoostSpin->value();
    o.Shelves = ShelvesCheck->isChecked();
    o.Bands = BandsSpin->value();
    return o;
}

FitReviewDialog::FitReviewDialog(const FitInput& in, const FitResult& r,
                                 const QString& measurementName, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FitReviewDialog"));
    setWindowTitle(tr("按测量拟合"));
    const bool zh = Window.LanguageFlag == 1;
    auto* layout = new QVBoxLayout(this);
    const std::vector<std::string> report = FitReport(in, r, zh);
    layout->addWidget(new QLabel(QFileInfo(measurementName).fileName() + QStringLiteral(": ") +
                                     U(report.front()),
                                 this));

    Table = new QTableWidget(static_cast<int>(r.After.size()), 3, this);
    Table->setObjectName(QStringLiteral("FitReviewTable"));
    Table->setHorizontalHeaderLabels({tr("频段"), tr("拟合前"), tr("拟合后")});
    Table->verticalHeader()->hide();
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionMode(QAbstractItemView::NoSelection);
    for (int b = 0; b < Table->rowCount(); ++b) {
        const auto u = static_cast<std::size_t>(b);
        const QStringList cells = {QString::number(b + 1), U(FitBandText(r.Before[u], zh)),
                                   U(FitBandText(r.After[u], zh))};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 2 && !(r.Before[u] == r.After[u])) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            Table->setItem(b, c, item);
        }
    }
    Table->resizeColumnsToContents();
    Table->horizontalHeader()->setStretchLastSection(true);
    int height = Table->horizontalHeader()->height() + 2 * Table->frameWidth() + 2;
    for (int b = 0; b < Table->rowCount(); ++b)
        height += Table->rowHeight(b);
    Table->setMinimumSize(Table->horizontalHeader()->length() + 40, std::min(height, 360));
    layout->addWidget(Table);

    QStringList scores;
    for (std::size_t i = r.After.size() + 1; i < report.size(); ++i)
        scores << U(report[i]);
    ScoreLabel = new QLabel(scores.join(QLatin1Char('\n')), this);
    ScoreLabel->setObjectName(QStringLiteral("FitScores"));
    ScoreLabel->setWordWrap(true);
    layout->addWidget(ScoreLabel);
    layout->addWidget(Buttons(this, tr("应用"), OkButton, CancelButton));
}

void SetFitOptionsRunner(FitOptionsRunner r) {
    optionsRunner = std::move(r);
}
void SetFitReviewRunner(FitReviewRunner r) {
    reviewRunner = std::move(r);
}
int RunFitOptions(FitOptionsDialog& d) {
    return optionsRunner ? optionsRunner(d) : d.exec();
}
int RunFitReview(FitReviewDialog& d) {
    return reviewRunner ? reviewRunner(d) : d.exec();
}
