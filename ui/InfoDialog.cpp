#include "ui/InfoDialog.h"

#include "ui/UiMessages.h"

#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include <algorithm>

namespace {

QString Folder(const std::string& path)
{
    return QFile::decodeName(path.c_str());
}

// The fixed lines, an empty line and the folders of the files: one when they share it.
QStringList InfoLinesWith(const FileLocations& files)
{
    QStringList lines;
    for (const char* line : UiMessages::InfoLines) lines << QString::fromUtf8(line);
    lines << QString();
    if (files.SettingsFolder == files.DataFolder) {
        lines << QString::fromUtf8(UiMessages::FilesFolder) + Folder(files.DataFolder);
    } else {
        lines << QString::fromUtf8(UiMessages::SettingsFolder) + Folder(files.SettingsFolder);
        lines << QString::fromUtf8(UiMessages::DataFolder) + Folder(files.DataFolder);
    }
    return lines;
}

// The room the text box needs to show every line of its text unwrapped.
QSize TextSize(const QPlainTextEdit& box, const QStringList& lines)
{
    const QFontMetrics metrics(box.font());
    int width = 0;
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    const int margins = 2 * (box.frameWidth() + static_cast<int>(box.document()->documentMargin())) + 4;
    return {width + margins, static_cast<int>(lines.size()) * metrics.lineSpacing() + margins};
}

} // namespace

TFInfoDialog::TFInfoDialog(const FileLocations& files, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FInfoDialog"));
    setWindowTitle(QStringLiteral("Info"));
    setAttribute(Qt::WA_WindowPropagation);

    auto* Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);

    auto* MInfo = new QPlainTextEdit(this);
    MInfo->setObjectName(QStringLiteral("MInfo"));
    MInfo->setReadOnly(true);
    MInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    QPalette buttonFace = MInfo->palette();
    buttonFace.setColor(QPalette::Base, buttonFace.color(QPalette::Button));
    MInfo->setPalette(buttonFace);
    const QStringList lines = InfoLinesWith(files);
    MInfo->setPlainText(lines.join(QLatin1Char('\n')));

    auto* BClose = new QPushButton(QStringLiteral("Schliessen"), this);
    BClose->setObjectName(QStringLiteral("BClose"));
    connect(BClose, &QPushButton::clicked, this, &TFInfoDialog::BCloseClick);

    // The box sizes itself to its text, at least to the designed 241 x 137 pixels, so that no line is
    // cut off without scroll bars; the frame and the button follow it.
    const QSize text = TextSize(*MInfo, lines).expandedTo(QSize(241, 137));
    MInfo->setGeometry(8, 8, text.width(), text.height());
    Bevel1->setGeometry(0, 0, text.width() + 16, text.height() + 64);
    BClose->setGeometry((text.width() + 16 - 75) / 2, text.height() + 23, 75, 25);
    setFixedSize(Bevel1->size());
}

void TFInfoDialog::BCloseClick()
{
    accept();
}
