#pragma once
// The start-up loading screen as the loaders see it: each long loading step reports that
// it is done, so that the screen can show the progress. Start-up registers the screen;
// without one (a headless run) a report does nothing.
class LoadingListener {
public:
    virtual void OnLoadingStep() = 0;

protected:
    ~LoadingListener() = default;
};

void SetLoadingListener(LoadingListener* listener);
void ReportLoadingStep();
