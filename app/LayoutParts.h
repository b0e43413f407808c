#pragma once
// The pieces the main window's layout is built from: the shared item lists and
// styles, and the helpers that create, name, place and mark each control.

#include "app/MainWindow.h"
#include "app/Language.h"
#include "link/LinkApi.h"
#include "params/ControlProps.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace layout {

// Shared with the filter review, which names the same types.
inline const char* const kBandTypeNames[5] = {
    QT_TRANSLATE_NOOP("BandType", "参量均衡"), QT_TRANSLATE_NOOP("BandType", "低棚架"),
    QT_TRANSLATE_NOOP("BandType", "高棚架"), QT_TRANSLATE_NOOP("BandType", "VariQ高通"),
    QT_TRANSLATE_NOOP("BandType", "VariQ低通")};

inline QStringList BandTypes() {
    QStringList types;
    for (const char* name : kBandTypeNames)
        types << QCoreApplication::translate("BandType", name);
    return types;
}
inline const QStringList kPassTypes = {QStringLiteral("OFF"), QStringLiteral("12dB Bessel"),
                                QStringLiteral("12dB Butterworth"),
                                QStringLiteral("12dB Linkwitz-Riley")};
inline const QStringList kAuxPassTypes =
    kPassTypes + QStringList{QStringLiteral("24dB Bessel"), QStringLiteral("24dB Butterworth"),
                             QStringLiteral("24dB Linkwitz-Riley")};

inline const char* const kPanelStyle = "background: rgb(98, 102, 108); border: 1px solid rgb(77, 77, 77);"
                                " border-radius: 5px;";
inline const char* const kPaneStyle = "QLabel { background: rgb(36, 38, 40); color: rgb(120, 255, 255);"
                               " border: 1px solid rgb(77, 77, 77); }";

template <class T> T* Create(T*& member, const char* name, QWidget* parent) {
    member = new T(parent);
    member->setObjectName(QString::fromLatin1(name));
    return member;
}

#define NEW(Type, member, parent) Create<Type>(member, #member, parent)

// The window's content, inside the scroll area that is its central widget.
inline QWidget* Client(QMainWindow* window) {
    return static_cast<QScrollArea*>(window->centralWidget())->widget();
}

inline QWidget* Panel(QWidget*& member, const char* name, QWidget* parent, const QRect& r) {
    Create(member, name, parent);
    member->setAttribute(Qt::WA_StyledBackground, true);
    member->setStyleSheet(QStringLiteral("QWidget#%1 { %2 }")
                              .arg(QString::fromLatin1(name), QString::fromLatin1(kPanelStyle)));
    member->setGeometry(r);
    return member;
}

inline QGroupBox* Group(QGroupBox*& member, const char* name, QWidget* parent, const QString& title,
                 const QRect& r) {
    Create(member, name, parent);
    member->setTitle(title);
    member->setGeometry(r);
    return member;
}

inline QLabel* Text(QWidget* parent, const QString& text, const QRect& r,
             Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter, bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(r);
    l->setAlignment(align);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

inline void SetupEdit(ParamEdit* e, const QRect& r, int kind) {
    e->setGeometry(r);
    SetHint(e, QString::number(kind));
}

inline void SetupCombo(QComboBox* c, const QRect& r, const QStringList& items,
                const QString& hint = QStringLiteral("1")) {
    c->setGeometry(r);
    c->addItems(items);
    c->setCurrentIndex(0);
    SetHint(c, hint);
}

inline void SetupBar(QSlider* s, const QRect& r, int lo, int hi, int start,
              Qt::Orientation o = Qt::Horizontal) {
    s->setOrientation(o);
    s->setGeometry(r);
    s->setRange(lo, hi);
    s->setValue(start);
}

inline void SetupPane(QLabel* p, const QRect& r, int kind, const QString& text) {
    p->setGeometry(r);
    p->setAlignment(Qt::AlignCenter);
    p->setStyleSheet(QString::fromLatin1(kPaneStyle));
    p->setText(text);
    SetHint(p, QString::number(kind));
}

// Polarity buttons are the only 25-pixel-wide push buttons of the window.
inline void SetupPhase(QPushButton* b, const QRect& r) {
    b->setGeometry(r.x(), r.y(), 25, r.height());
    b->setText(QStringLiteral("+"));
    SetHint(b, QStringLiteral("0"));
}

inline void SetupPass(QPushButton* b, const QRect& r, const QString& caption) {
    b->setGeometry(r);
    b->setText(caption);
    b->setCheckable(true);
    b->setStyleSheet(QStringLiteral(
        "QPushButton { color: white; background: rgb(64, 66, 70); border: 1px solid rgb(40, 40, "
        "40);"
        " border-radius: 3px; } QPushButton:checked { background: rgb(214, 120, 24); }"
        " QPushButton:disabled { color: rgb(150, 150, 150); }"));
    SetHint(b, QStringLiteral("0"));
}

// One band row of an equaliser table: frequency, Q, gain, type and bypass,
// named prefix + number ("MusFreEdit3", ...).
struct BandRowNames {
    const char* fre;
    const char* q;
    const char* gain;
    const char* mode;
    const char* bypass;
};

struct BandRow {
    ParamEdit* fre;
    ParamEdit* q;
    ParamEdit* gain;
    QComboBox* mode;
    QCheckBox* bypass;
};

inline BandRow MakeBandRow(QWidget* p, int y, int number, const BandRowNames& names) {
    const QString n = QString::number(number);
    Text(p, n, QRect(2, y, 18, 21), Qt::AlignCenter);
    BandRow row{new ParamEdit(p), new ParamEdit(p), new ParamEdit(p), new QComboBox(p),
                new QCheckBox(p)};
    row.fre->setObjectName(QLatin1String(names.fre) + n);
    SetupEdit(row.fre, QRect(22, y, 72, 21), 2);
    row.q->setObjectName(QLatin1String(names.q) + n);
    SetupEdit(row.q, QRect(98, y, 52, 21), 4);
    row.gain->setObjectName(QLatin1String(names.gain) + n);
    SetupEdit(row.gain, QRect(154, y, 64, 21), 3);
    row.mode->setObjectName(QLatin1String(names.mode) + n);
    SetupCombo(row.mode, QRect(222, y, 106, 21), BandTypes());
    row.bypass->setObjectName(QLatin1String(names.bypass) + n);
    row.bypass->setGeometry(342, y, 22, 21);
    row.bypass->setToolTip(QCoreApplication::translate("TForm1", "直通：此频段不起作用"));
    row.fre->setToolTip(QCoreApplication::translate("TForm1", "中心频率（Hz），可写 2.2k"));
    row.q->setToolTip(QCoreApplication::translate("TForm1", "Q 值：越大频段越窄"));
    row.gain->setToolTip(QCoreApplication::translate("TForm1", "增益，-24 dB 至 +12 dB"));
    row.mode->setToolTip(QCoreApplication::translate("TForm1", "频段类型"));
    return row;
}

// The high-pass and low-pass rows under a band table.
inline void MakeCrossoverRows(QWidget* p, int y, ParamEdit*& hpFre, const char* hpFreName,
                       QComboBox*& hpBox, const char* hpBoxName, ParamEdit*& lpFre,
                       const char* lpFreName, QComboBox*& lpBox, const char* lpBoxName,
                       const QStringList& types) {
    QLabel* hp = Text(p, QStringLiteral("HP"), QRect(2, y, 18, 21), Qt::AlignCenter);
    SetupEdit(Create<ParamEdit>(hpFre, hpFreName, p), QRect(22, y, 72, 21), 2);
    SetupCombo(Create<QComboBox>(hpBox, hpBoxName, p), QRect(98, y, 170, 21), types);
    QLabel* lp = Text(p, QStringLiteral("LP"), QRect(2, y + 25, 18, 21), Qt::AlignCenter);
    SetupEdit(Create<ParamEdit>(lpFre, lpFreName, p), QRect(22, y + 25, 72, 21), 2);
    SetupCombo(Create<QComboBox>(lpBox, lpBoxName, p), QRect(98, y + 25, 170, 21), types);
    const QString hpTip = QCoreApplication::translate("TForm1", "高通分频：截止频率和滤波器类型");
    const QString lpTip = QCoreApplication::translate("TForm1", "低通分频：截止频率和滤波器类型");
    for (QWidget* w : {static_cast<QWidget*>(hp), static_cast<QWidget*>(hpFre),
                       static_cast<QWidget*>(hpBox)})
        w->setToolTip(hpTip);
    for (QWidget* w : {static_cast<QWidget*>(lp), static_cast<QWidget*>(lpFre),
                       static_cast<QWidget*>(lpBox)})
        w->setToolTip(lpTip);
}

} // namespace layout
