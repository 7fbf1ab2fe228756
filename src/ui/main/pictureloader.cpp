#include "main/pictureloader.h"

#include <cstring>

namespace pigmora::ui {

QImage imageOfPicture(const DecodedPicture &picture)
{
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    // Blue, green, red and a fourth byte: Format_RGB32's bytes as stored.
    const std::size_t row = static_cast<std::size_t>(picture.width) * 4;
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y), picture.pixels.data() + row * static_cast<std::size_t>(y), row);
    return image;
}

PictureLoader::PictureLoader(QObject *parent)
    : QObject(parent)
{ }

PictureLoader::~PictureLoader()
{
    for (const std::unique_ptr<Job> &job : m_jobs)
        job->thread.request_stop();
    m_jobs.clear(); // joins: a decode stops at its next row
}

void PictureLoader::start(PictureLoadRequest request)
{
    cancel();
    auto job = std::make_unique<Job>();
    job->serial = m_nextSerial++;
    m_current = job->serial;
    job->thread = std::jthread([this, serial = job->serial, request = std::move(request)](std::stop_token stop) {
        run(serial, request, std::move(stop));
    });
    m_jobs.push_back(std::move(job));
}

void PictureLoader::cancel()
{
    for (const std::unique_ptr<Job> &job : m_jobs) {
        if (job->serial == m_current)
            job->thread.request_stop();
    }
    m_current = 0;
}

// On the load's thread: every report is queued to the window thread, where
// a report of a load that is no longer current is dropped.
void PictureLoader::run(quint64 serial, const PictureLoadRequest &request, std::stop_token stop)
{
    PictureLoadEvents events;
    events.preview = [this, serial](PicturePreview &&preview) {
        const QImage image = imageOfPicture(preview.picture);
        const QSize full(preview.fullWidth, preview.fullHeight);
        QMetaObject::invokeMethod(
            this,
            [this, serial, image, full] {
                if (serial == m_current)
                    Q_EMIT previewReady(image, full);
            },
            Qt::QueuedConnection);
    };
    events.progress = [this, serial](int percent) {
        QMetaObject::invokeMethod(
            this,
            [this, serial, percent] {
                if (serial == m_current)
                    Q_EMIT progressed(percent);
            },
            Qt::QueuedConnection);
    };
    auto load = std::make_shared<PictureLoad>(loadPictureForView(request, events, stop));
    QMetaObject::invokeMethod(
        this,
        [this, serial, load] {
            if (serial == m_current) {
                m_current = 0;
                Q_EMIT finished(load);
            }
            ended(serial);
        },
        Qt::QueuedConnection);
}

void PictureLoader::ended(quint64 serial)
{
    // The thread's last act was to queue this: joining it takes no time.
    std::erase_if(m_jobs, [serial](const std::unique_ptr<Job> &job) { return job->serial == serial; });
}

} // namespace pigmora::ui
