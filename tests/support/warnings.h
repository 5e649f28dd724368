#pragma once

#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Everything written on the warning channel (and worse) while the object lives, kept instead of
// printed, but for the notes of the headless platform about window operations it cannot carry
// out ("This plugin does not support raise()"), which say nothing about the program. Only one
// can live at a time.
class WarningLog
{
public:
    WarningLog() : m_previous(qInstallMessageHandler(&WarningLog::collect)) { s_log = this; }
    ~WarningLog()
    {
        qInstallMessageHandler(m_previous);
        s_log = nullptr;
    }
    WarningLog(const WarningLog &) = delete;
    WarningLog &operator=(const WarningLog &) = delete;

    const QStringList &messages() const { return m_messages; }

    // How many messages name each target picture file (pix/picN.jpg, either separator), and,
    // under the empty name, how many name none.
    QHash<QString, int> countsPerFile() const
    {
        static const QRegularExpression fileName(QStringLiteral(R"(pix[/\\]pic-?\d+\.jpg)"));
        QHash<QString, int> counts;
        for (const QString &message : m_messages) {
            const QRegularExpressionMatch match = fileName.match(message);
            ++counts[match.hasMatch() ? match.captured().replace(u'\\', u'/') : QString()];
        }
        return counts;
    }

private:
    static void collect(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        static const QString platformNote = QStringLiteral("This plugin does not support ");
        if (type != QtDebugMsg && type != QtInfoMsg && s_log && !message.startsWith(platformNote))
            s_log->m_messages.append(message);
    }

    static inline WarningLog *s_log = nullptr;
    QtMessageHandler m_previous;
    QStringList m_messages;
};
