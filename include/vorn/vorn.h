/*
 * vorn.h - the Vorn driver library (libvorn), public interface.
 *
 * GROUPS. A caller wakes up a set of units together and names that set by a
 * group identifier of its own choosing, 0..256 (257 slots). Every other call
 * names the group it acts on. A group lives from a successful wake-up to
 * vornShutDown(); shutting down an empty or out-of-range identifier is a
 * harmless no-op, so it is safe to call before every wake-up.
 *
 * UNITS. A unit address is 0 for a stand-alone unit and 1..126 for units on
 * the inter-unit bus (1 is the master). Every per-unit array of the records
 * below is indexed by that address.
 *
 * RESULTS AND ERRORS. Calls that can fail return nonzero on success (for the
 * queries: "yes") and 0 on failure. Every failure sets a process-wide error
 * code that vornGetErrorCode() returns and resets to 0: VORN_ERR_FAILED (1)
 * for any reported message, or a more specific VORN_ERR_ code (below the
 * records) written after it; the last one written wins.
 * With vornDisplayErrorDialogs(1) each failure's message is also shown:
 * through the host's message handler (vorn_host.h) if one is installed,
 * otherwise as one line on standard error holding exactly the message text.
 * The library keeps no message text. Dialogs are off by default.
 *
 * BAD ARGUMENTS. Null records, buffers (with a nonzero count), callbacks,
 * server addresses and port or base-address arrays, unit addresses outside
 * 0..126 and impossible unit counts are refused with a message naming the
 * call and VORN_ERR_FAILED; they are never dereferenced.
 *
 * THREADS. The library takes no lock: a program serialises its calls into it.
 * Waits inside the library block the calling thread (they never spin) and run
 * that thread's pump steps, so frame-ready callbacks and the host's pump hook
 * may run inside any waiting call on the thread that woke the first group.
 *
 * RECORDS. The four records have fixed little-endian layouts; the caller owns
 * them, the library copies them whole and never keeps a pointer.
 */
#ifndef VORN_VORN_H
#define VORN_VORN_H

#include <stdint.h>

#if defined(VORN_BUILDING_LIBRARY)
#define VORN_API __attribute__((visibility("default")))
#else
#define VORN_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum {
    VORN_MAX_GROUP = 256,  /* identifiers 0..256 */
    VORN_UNIT_COUNT = 127, /* unit addresses 0..126 */
    VORN_FILTER_ENTRIES = 7
};

/* System configuration of a group: 152 bytes. */
typedef struct VornSystemConfig {
    uint8_t systemStatus;     /* bit 7 running, bit 6 error, bit 0 CRT sync, bit 1 sync type */
    uint8_t errorCode;        /* master's error code */
    uint8_t numberOfUnits;    /* units 1..numberOfUnits on the bus; 1 for stand-alone */
    uint8_t controllerField1; /* passed through to and from the networked controller */
    uint8_t transmitter;      /* bits 4-7 unit address, bits 0-1 transmitter number */
    uint8_t reserved0;
    uint16_t crystalSpeed;  /* MHz, units below revision 3.63 */
    double measurementRate; /* measurement cycles per second */
    uint8_t controllerField2;
    uint8_t controllerField3;
    uint8_t controllerField4;
    uint8_t reserved1;
    uint16_t softwareRevision; /* high byte integer part, low byte fraction */
    uint8_t unitStatus[VORN_UNIT_COUNT];
    uint8_t reserved2[3];
} VornSystemConfig;

/* Configuration of one unit: 68 bytes. */
typedef struct VornDeviceConfig {
    uint8_t status;  /* bit 7 error, 6 running, 2 has sensor, 1 has transmitter, 0 drives it */
    uint8_t status2; /* controller's unit type code (TCP/IP only) */
    uint16_t softwareRevision;
    uint8_t errorCode;
    uint8_t setup;      /* bit 0 DC, 1 wide notch, 2 narrow notch, 3 button, 4 XYZ ref, 5 lock */
    uint8_t dataFormat; /* 0 none, 1 pos, 2 ang, 3 mat, 4 pos/ang, 5 pos/mat, 7 quat, 8 pos/quat */
    uint8_t reportRate; /* 1, 2, 8 or 32 */
    uint16_t scaling;   /* 36, 72 or 144 inches full scale */
    uint8_t hemisphere; /* 0 front, 1 back, 2 top, 3 bottom, 4 left, 5 right */
    uint8_t address;
    uint8_t transmitterType;
    uint8_t reserved0;
    uint16_t alphaMin[VORN_FILTER_ENTRIES]; /* fraction x 32768 */
    uint16_t alphaMax[VORN_FILTER_ENTRIES];
    uint16_t vm[VORN_FILTER_ENTRIES];
    int16_t referenceFrame[3]; /* azimuth, elevation, roll; v x 180 / 32767 degrees */
    int16_t angleAlign[3];
} VornDeviceConfig;

/* One sensor measurement: 40 bytes. Fields the data format lacks are 0. */
typedef struct VornReading {
    int16_t position[3];   /* v x scaling / 32767 inches */
    int16_t angles[3];     /* v x 180 / 32767 degrees */
    int16_t matrix[9];     /* v / 32767 */
    int16_t quaternion[4]; /* v / 32767 */
    uint16_t button;
} VornReading;

/* One frame: the readings of every unit of a group, 5084 bytes. */
typedef struct VornFrame {
    uint32_t time; /* milliseconds */
    VornReading reading[VORN_UNIT_COUNT];
} VornFrame;

typedef void (*VornFrameReadyCallback)(int group, uintptr_t userValue);

/* Wake-up and shut-down */
VORN_API int vornTCPIPWakeUp(int group, const char* serverAddress, uint16_t port, int numberOfUnits);
VORN_API int vornRS232WakeUp(int group, int standAlone, int numberOfUnits, const uint16_t* comPorts, uint32_t baudRate,
                             uint32_t readTimeoutMs, uint32_t writeTimeoutMs);
VORN_API int vornISAWakeUp(int group, int standAlone, int numberOfUnits, const uint16_t* baseAddresses,
                           uint32_t readTimeoutMs, uint32_t writeTimeoutMs);
VORN_API int vornPV2WakeUp(int group, uint16_t masterBaseAddress, uint32_t readTimeoutMs, uint32_t writeTimeoutMs);
VORN_API void vornShutDown(int group);

/* Configuration */
VORN_API int vornGetSystemConfig(int group, VornSystemConfig* config);
VORN_API int vornSetSystemConfig(int group, VornSystemConfig* config); /* writes corrections back */
VORN_API int vornGetDeviceConfig(int group, int unit, VornDeviceConfig* config);
VORN_API int vornSetDeviceConfig(int group, int unit, const VornDeviceConfig* config);
VORN_API int vornGetFastDeviceConfig(int group, int unit, VornDeviceConfig* config);
VORN_API int vornSetFastDeviceConfig(int group, int unit, const VornDeviceConfig* config);

/* Single readings */
VORN_API int vornStartReading(int group, int unit);
VORN_API int vornGetReading(int group, int unit, VornReading* reading);
VORN_API int vornReadingReady(int group, int unit);

/* Frames and streams */
VORN_API int vornStartSingleFrame(int group);
VORN_API int vornStartFrameStream(int group);
VORN_API int vornGetFrame(int group, VornFrame* frame);
VORN_API int vornGetMostRecentFrame(int group, VornFrame* frame);
VORN_API int vornFrameReady(int group);
VORN_API int vornStopFrameStream(int group);

/* Frame-ready callback */
VORN_API int vornStartFrameReadyCallback(int group, VornFrameReadyCallback callback, uintptr_t userValue);
VORN_API int vornStopFrameReadyCallback(int group);

/* Measurement cycles */
VORN_API int vornEnableMeasurementCycleReporting(int group);
VORN_API int vornDisableMeasurementCycleReporting(int group);
VORN_API int vornNewMeasurementCycle(int group);

/* TCP/IP pass-through */
VORN_API int vornTCPIPSendCommand(int group, const unsigned char* packet, uint16_t length);
VORN_API int vornTCPIPGetResponse(int group, unsigned char* packet, uint16_t length);
VORN_API int vornTCPIPClearBuffer(int group);

/* RS232 pass-through and line control */
VORN_API int vornRS232SendCommand(int group, int unit, const unsigned char* bytes, uint16_t count);
VORN_API int vornRS232GetResponse(int group, int unit, unsigned char* bytes, uint16_t count);
VORN_API int vornRS232ClearBuffer(int group, int unit);
VORN_API int vornRS232Resynch(int group);
VORN_API int vornRS232Reset(int group);
VORN_API int vornRS232SetGroupMode(int group, int setting); /* 1 off, 2 on, other automatic */
VORN_API int vornRS232GroupModeEnabled(int group);
VORN_API int vornRS232NonGroupModeAllowed(int group);

/* ISA pass-through and board control */
VORN_API int vornISASendCommand(int group, int unit, const unsigned char* bytes, uint16_t count);
VORN_API int vornISAGetResponse(int group, int unit, unsigned char* bytes, uint16_t count);
VORN_API int vornISAClearBuffer(int group, int unit);
VORN_API int vornISAResynch(int group);
VORN_API int vornISAReset(int group);

/* Error codes: what vornGetErrorCode() returns. */
#define VORN_ERR_NONE              0  /* no failure since the last vornGetErrorCode() */
#define VORN_ERR_FAILED            1  /* any reported message without a more specific code */
#define VORN_ERR_TCPIP_READ        16 /* TCP/IP: receiving a data packet failed */
#define VORN_ERR_TCPIP_PACKET_TYPE 18 /* TCP/IP: a packet other than data arrived outside a stream */
#define VORN_ERR_TCPIP_ADDRESS     19 /* TCP/IP: a data record names a unit above 120 */
#define VORN_ERR_TCPIP_RECORD      20 /* TCP/IP: a data record has a bad data format or is cut short */
#define VORN_ERR_RS232_READ        32 /* RS232: reading a reading or frame (or clearing an overflow) failed */
#define VORN_ERR_PHASE             33 /* phase or tag error; a stream is aligned again */
#define VORN_ERR_PHASE_LOST        34 /* phase or tag error in a stream that could not be aligned again */
#define VORN_ERR_DATA_READY        35 /* measurement cycle: a character other than ','; the call returns 1 */
#define VORN_ERR_ISA_READ          48 /* ISA: reading the words of a reading or frame failed */

/* Errors and version */
VORN_API void vornDisplayErrorDialogs(int show);
VORN_API int vornGetErrorCode(void);
VORN_API void vornGetDllVersion(char* buffer); /* writes "3.07" and its terminator: 5 bytes */

#ifdef __cplusplus
}
#endif

#endif /* VORN_VORN_H */
