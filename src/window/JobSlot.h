#pragma once

#include "window/ActivityLog.h"

#include <QObject>
#include <QPointer>
#include <QPushButton>

#include <functional>

namespace albivex {

// The one job of a kind a controller runs at a time on the main window. The stop button
// reaches the job (its noticeStop()) after the button's own handler has cleared the
// window's running flag. Once the job has ended (its ended() signal), the lines the log
// held show, the slot is free, `ended` runs and the job is deleted later. The job reports
// into the controller, so the slot deletes it with itself.
template<typename Job> class JobSlot
{
public:
    JobSlot(QObject *controller, QPushButton *stopButton, ActivityLog &log)
        : m_controller(controller), m_log(log)
    {
        QObject::connect(
            stopButton, &QPushButton::clicked, controller,
            [this] {
                if (m_job)
                    m_job->noticeStop();
            },
            Qt::QueuedConnection);
    }
    ~JobSlot() { delete m_job.data(); }
    JobSlot(const JobSlot &) = delete;
    JobSlot &operator=(const JobSlot &) = delete;

    Job *job() const { return m_job.data(); }
    bool isEmpty() const { return m_job.isNull(); }

    // Starts `job` in the empty slot; false, with the job deleted at once, when it does
    // not start.
    bool start(Job *job, std::function<void()> ended)
    {
        QObject::connect(job, &Job::ended, m_controller, [this, job, ended = std::move(ended)] {
            m_log.showHeld();
            if (m_job == job)
                m_job = nullptr;
            job->deleteLater();
            ended();
        });
        m_job = job;
        if (job->start())
            return true;
        m_job = nullptr;
        m_log.showHeld();
        delete job;
        return false;
    }

private:
    QObject *m_controller;
    ActivityLog &m_log;
    QPointer<Job> m_job;
};

} // namespace albivex
