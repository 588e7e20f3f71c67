// A simulated component's side of the parameter protocol: it streams its whole set on a list
// request, one value at a time as the line has room; answers a read by index or by name; takes a
// write, or refuses it, and answers with the value it holds either way. A share of its answers can
// be lost on the way, as a radio loses them.
#pragma once

#include "simparamset.h"

#include <param.h>

#include <optional>
#include <random>
#include <vector>

struct mavlink_message_t;

class SimParamServer
{
public:
    struct Reply
    {
        mavlink_param_value_t value;
        // It takes its time on the line but never arrives.
        bool lost = false;
    };

    // What it has answered and taken so far.
    struct Tally
    {
        int repliesSent = 0;
        int repliesLost = 0;
        int writesTaken = 0;
        int writesRefused = 0;
    };

    // `lossShare` of the replies, 0 to 1, are lost.
    SimParamServer(SimParamSet params, std::uint8_t system, std::uint8_t component,
                   double lossShare = 0, unsigned seed = 1);

    // A message from the link: the replies due now when it was a read or a write addressed to
    // this component. A list request (re)starts the stream from the first parameter.
    std::vector<Reply> receive(const mavlink_message_t &msg);
    // The stream's next value, while it runs.
    std::optional<Reply> nextStreamed();

    void setLossShare(double lossShare) { m_lossShare = lossShare; }
    const SimParamSet &params() const { return m_params; }
    const Tally &tally() const { return m_tally; }

private:
    bool addressed(std::uint8_t system, std::uint8_t component) const;
    Reply reply(int index);

    SimParamSet m_params;
    std::uint8_t m_system;
    std::uint8_t m_component;
    double m_lossShare;
    std::mt19937 m_random;
    // The next index of the stream; -1 while none runs.
    int m_streamNext = -1;
    Tally m_tally;
};
