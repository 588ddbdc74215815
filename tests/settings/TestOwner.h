#pragma once

#include <QList>

#include "recorder/Encorda.h"
#include "settings/RecorderOwner.h"
#include "tests/common/ScriptedPrompt.h"

// Stands in for the main window: the real recorder, a scripted prompt, and
// a record of every call the dialogs make on the recorder.
class CTestOwner : public IRecorderOwner
{
public:
    CTestOwner()
    {
        m_encoder.SetDispatchObserver([this](const CEncorda::CDispatchCall& call) { m_arrCalls.append(call); });
    }

    CEncorda& RecorderWidget() override { return m_encoder; }
    IPrompt& MessagePrompt() override { return m_prompt; }

    // How often the dialogs have touched one property or list.
    int CountCalls(CEncorda::EDispatchId eId) const
    {
        return static_cast<int>(std::count_if(m_arrCalls.begin(), m_arrCalls.end(),
                                              [eId](const CEncorda::CDispatchCall& call) { return call.eId == eId; }));
    }

    // The values written to one property, in order.
    QVariantList Written(CEncorda::EDispatchId eId) const
    {
        QVariantList arrValues;
        for (const CEncorda::CDispatchCall& call : m_arrCalls) {
            if (call.eId == eId)
                arrValues.append(call.value);
        }
        return arrValues;
    }

    CEncorda m_encoder;
    CScriptedPrompt m_prompt;
    QList<CEncorda::CDispatchCall> m_arrCalls;
};
