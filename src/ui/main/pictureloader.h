#pragma once

#include "image/pictureload.h"

#include <QImage>
#include <QObject>
#include <QSize>

#include <memory>
#include <thread>
#include <vector>

namespace pigmora::ui {

// Opens pictures for the view on a thread of its own (loadPictureForView)
// and reports on the window thread: the JPEG preview, the progress and the
// finished load. A new start stops the load still running, whose reports are
// dropped from then on; the destructor stops and joins every load.
class PictureLoader : public QObject
{
    Q_OBJECT

public:
    explicit PictureLoader(QObject *parent = nullptr);
    ~PictureLoader() override;
    PictureLoader(const PictureLoader &) = delete;
    PictureLoader &operator=(const PictureLoader &) = delete;

    void start(PictureLoadRequest request);
    // Stops the running load; nothing is reported for it any more.
    void cancel();
    bool busy() const { return m_current != 0; }

Q_SIGNALS:
    // The preview (32-bit, upright) and the size of the whole picture.
    void previewReady(const QImage &preview, QSize fullSize);
    void progressed(int percent);
    void finished(std::shared_ptr<pigmora::PictureLoad> load);

private:
    struct Job {
        quint64 serial = 0;
        std::jthread thread;
    };
    void run(quint64 serial, const PictureLoadRequest &request, std::stop_token stop);
    void ended(quint64 serial);

    std::vector<std::unique_ptr<Job>> m_jobs; // the running one and those stopping
    quint64 m_nextSerial = 1;
    quint64 m_current = 0; // 0: none running
};

// A decoded picture as an image of its own (QImage::Format_RGB32).
QImage imageOfPicture(const DecodedPicture &picture);

} // namespace pigmora::ui
