#include "paramencoding.h"

#include "gimbal_v2.h"
#include "param.h"

#include <QCoreApplication>

ParamEncodingChoice chooseParamEncoding(std::optional<std::uint64_t> capabilities,
                                        std::uint8_t autopilot, std::uint8_t type)
{
    // A component that claims both is taken at its byte-wise word: that reads every integer
    // exactly, where a wrong C-cast guess would only round the large ones.
    if (capabilities && (*capabilities & MAV_PROTOCOL_CAPABILITY_PARAM_ENCODE_BYTEWISE)) {
        return {ParamEncoding::Bytewise,
                QCoreApplication::translate("ParamEncoding",
                                            "按字节编码（设备在 AUTOPILOT_VERSION 中声明）")};
    }
    if (capabilities && (*capabilities & MAV_PROTOCOL_CAPABILITY_PARAM_ENCODE_C_CAST)) {
        return {ParamEncoding::CCast,
                QCoreApplication::translate("ParamEncoding",
                                            "C 转换编码（设备在 AUTOPILOT_VERSION 中声明）")};
    }
    if (autopilot == MAV_AUTOPILOT_ARDUPILOTMEGA) {
        return {ParamEncoding::CCast,
                QCoreApplication::translate("ParamEncoding", "C 转换编码（ArduPilot 自动驾驶仪）")};
    }
    if (autopilot == MAV_AUTOPILOT_PX4) {
        return {ParamEncoding::Bytewise,
                QCoreApplication::translate("ParamEncoding", "按字节编码（PX4 自动驾驶仪）")};
    }
    if (autopilot == MAV_AUTOPILOT_INVALID && type == MAV_TYPE_GIMBAL) {
        return {ParamEncoding::Bytewise,
                QCoreApplication::translate("ParamEncoding", "按字节编码（v2 云台设备）")};
    }
    return {ParamEncoding::Bytewise,
            QCoreApplication::translate("ParamEncoding", "按字节编码（设备未声明，按默认）")};
}
