// The start-up loading screen as the loaders see it.
#include "world/LoadingListener.h"

namespace {
LoadingListener* gLoadingListener = nullptr;
}  // namespace

void SetLoadingListener(LoadingListener* listener) { gLoadingListener = listener; }

void ReportLoadingStep() {
    if (gLoadingListener != nullptr) gLoadingListener->OnLoadingStep();
}
