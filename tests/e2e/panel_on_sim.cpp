#include "panel_on_sim.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace velmo::e2e {

Sampler::Sampler(const PanelOnSim& panel) : timer_(new QTimer) {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer_, &QTimer::timeout, [this, &panel, clock] {
        samples.push_back({clock->elapsed(), panel.user.Display(), panel.user.SignalBar()});
    });
    timer_->start(20);
}

Sampler::~Sampler() { delete timer_; }

PanelOnSim::PanelOnSim(sim::ReceiverOptions options)
    : sim(std::move(options)),
      link([path = sim.Path()](int) { return path; }),
      window(link, 1, [this](const std::exception& error) { failures.emplace_back(error.what()); }) {
    window.show();
}

PanelOnSim::~PanelOnSim() {
    // Leave the receiver's port closed before the server goes away.
    if (!window.Ending()) user.Key(Qt::Key_Delete);
}

std::vector<std::string> PanelOnSim::TuningCommands() const {
    std::vector<std::string> commands;
    for (const auto& line : sim.Received()) {
        if (line.rfind("K0", 0) == 0) commands.push_back(line);
    }
    return commands;
}

}  // namespace velmo::e2e
