#pragma once

#include "runtime/UserControl.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <optional>

class QFile;

namespace InetCtlsObjects {
class Inet;
}

// The download control: fetches one file over HTTP into a local file, chunk by chunk, and reports
// every step through its events. GetFileInformation sends the request and reads status and
// length; DownLoad reads the body; DLResume continues a partial file with a range request. It
// draws nothing and keeps itself 480 twips square. A file is fetched only when the length its
// server announces could be the archive the install accepts (at most Zentrax's unpacked bound)
// and fits on the target's disk, looked at again as the body comes; a download that fails
// removes what it wrote.
class DownLoad : public runtime::UserControl {
    Q_OBJECT
    Q_PROPERTY(QString URL READ URL WRITE setURL)
    Q_PROPERTY(QString SaveLocation READ SaveLocation WRITE setSaveLocation)
    Q_PROPERTY(int CHUNK READ CHUNK WRITE setCHUNK)
    Q_PROPERTY(bool KeepType READ KeepType WRITE setKeepType)
    Q_PROPERTY(bool OnlineCheck READ OnlineCheck WRITE setOnlineCheck)
    Q_PROPERTY(bool PromptOverwrite READ PromptOverwrite WRITE setPromptOverwrite)
    Q_PROPERTY(int ROLLBACK READ ROLLBACK WRITE setROLLBACK)
    Q_PROPERTY(bool AResume READ ResumeSupported)
    Q_PROPERTY(bool ResumeSupported READ ResumeSupported)
    Q_PROPERTY(bool CCancel READ CCancel)
    Q_PROPERTY(bool CPause READ CPause)
    Q_PROPERTY(bool Connected READ Connected)
    Q_PROPERTY(bool FileExists READ FileExists)
    Q_PROPERTY(qint64 FileSize READ FileSize)
    Q_PROPERTY(bool InDL READ InDL)

public:
    // The codes DLECode reports; the host's texts for them are FrmUpdate's.
    enum ErrorCode : int {
        DownloadFailed = 1,
        FileNotFound = 2,
        HeadersUnreadable = 3,
        Cancelled = 4,
        NoConnection = 5,
        ResumeFileNotFound = 6,
        ResumeNotSupported = 7,
        Unauthorized = 401,
        AccessDenied = 403,
    };

    DownLoad(QWidget *container, const QString &name, int index = -1);
    ~DownLoad() override;

    QString URL() const { return m_url; }
    void setURL(const QString &url);
    QString SaveLocation() const { return m_saveLocation; }
    void setSaveLocation(const QString &path);
    int CHUNK() const { return m_chunk; }
    void setCHUNK(int size);
    bool KeepType() const { return m_keepType; }
    void setKeepType(bool keep);
    bool OnlineCheck() const { return m_onlineCheck; }
    void setOnlineCheck(bool check);
    bool PromptOverwrite() const { return m_promptOverwrite; }
    void setPromptOverwrite(bool prompt);
    int ROLLBACK() const { return m_rollback; }
    void setROLLBACK(int value) { m_rollback = value; }

    bool ResumeSupported() const { return m_resumeSupported; }
    bool CCancel() const { return m_cancel; }
    bool CPause() const { return m_pause; }
    bool Connected() const { return m_connected; }
    bool FileExists() const { return m_fileExists; }
    qint64 FileSize() const { return m_fileSize; }
    bool InDL() const { return m_inDL; }

    void GetFileInformation();
    // The design names this operation like the control; C++ reserves that name for the constructor.
    void Download();
    void DLResume();
    void Cancel();
    void Pause(bool paused);
    // Raises ConnectionState for each kind of connection found; true when there is one.
    bool CheckConnection();

    // Tests read the free space of a folder's disk from here instead of the file system (nullopt
    // when it cannot be read); an empty function reads the disk again.
    static void SetFreeSpaceForTesting(std::function<std::optional<qint64>(const QString &folder)> reader);

    // The transfer control, for tests that shorten its time-outs (a download's own are longer
    // than a page's: kTransferTimeouts).
    InetCtlsObjects::Inet &I1() { return *m_i1; }

signals:
    void DLComplete();
    void DLError(const QString &text);
    void DLECode(int code);
    void RecievedBytes(qint64 bytes);
    void Percent(int percent);
    void StatusChange(const QString &text);
    void Rate(const QString &text);
    void TimeLeft(const QString &text);
    void ConnectionState(const QString &text);

protected:
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const runtime::PropertyBag &bag) override;
    void UserControl_WriteProperties(runtime::PropertyBag &bag) override;
    void UserControl_Resize() override;

private:
    template <class Io>
    void storedKeys(Io &&io);
    // A property's new value, marked changed for the host to save.
    template <class T>
    void setStored(T &field, const T &value, const QString &key)
    {
        field = value;
        PropertyChanged(key);
    }
    // The chunk loop of DownLoad and DLResume, into an open file; `held` bytes were there before.
    enum class LoopEnd { Complete, Cancelled, Failed, HostGone };
    LoopEnd receiveChunks(QFile &file, qint64 held);
    void endLoop(LoopEnd end, QFile &file);
    void failDownload();
    void noConnection();
    // What a download and a resume check first: false when cancelled, or offline while the
    // online check is on (told as no connection); otherwise the transfer is pointed at the URL.
    bool prepareTransfer();
    bool waitWhileExecuting();
    bool hostLoaded() const;
    // Seconds since the last GetFileInformation, plus the one second it starts with.
    double elapsedSeconds() const;

    // Stored: their defaults are in storedKeys, which the constructor runs first.
    QString m_url;
    QString m_saveLocation;
    int m_chunk;
    bool m_keepType;
    bool m_onlineCheck;
    bool m_promptOverwrite;
    int m_rollback = 0;
    bool m_resumeSupported = false;
    bool m_cancel = false;
    bool m_pause = false;
    bool m_connected = false;
    bool m_fileExists = false;
    qint64 m_fileSize = 0;
    bool m_inDL = false;
    QElapsedTimer m_started;
    InetCtlsObjects::Inet *m_i1;
};
