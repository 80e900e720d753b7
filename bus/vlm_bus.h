#pragma once

// VLM_BUS: the bus library that owns one serial line and talks the checksummed telegram protocol
// to up to 50 instruments on it. This header is the library's whole exported interface: a flat
// C ABI with fixed-width integers. The caller owns every buffer; the library fills it and keeps
// no reference. Set-up and service calls return 1 for success and 0 for failure; on failure
// GetExtendedErrorInformation delivers an English text.

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(VLM_BUS_BUILDING)
#define VLM_BUS_EXPORT __attribute__((visibility("default")))
#else
#define VLM_BUS_EXPORT
#endif

// The parameter record exchanged by address (268 bytes, little-endian).
typedef struct BusDataObject
{
    uint16_t ParamNr;
    uint8_t Value[256];  // the first Length bytes count
    uint8_t Length;      // valid value bytes, at most 251
    uint8_t Reserved1;
    uint16_t DataType;   // the device's type code
    uint8_t Reserved2[2];
    uint8_t Description[4];
} BusDataObject;

// The memory block record exchanged by address (257 bytes).
typedef struct BusMemoryObject
{
    uint8_t Data[256];   // the first Length bytes count
    uint8_t Length;      // in: bytes to read or write (1-251); out: bytes delivered
} BusMemoryObject;

// Device counts and codes of StartCommunication and SearchForNewDevices.
enum {
    VLM_BUS_MAX_DEVICES = 50,
    VLM_BUS_DUPLICATE_DEVICE = 251,
    VLM_BUS_NO_DEVICE_ARRAY = 252,
    VLM_BUS_NOT_ATTACHED = 253,
    VLM_BUS_TIMEOUT_NOT_WRITTEN = 254,
    VLM_BUS_PORT_FAILED = 255
};

// Port and link settings.
VLM_BUS_EXPORT uint8_t SetCommPort(uint8_t SelCommPort);
VLM_BUS_EXPORT uint8_t SetBaudRate(uint32_t SelBaudRate);
VLM_BUS_EXPORT uint8_t GetAvailableCommPorts(void);
VLM_BUS_EXPORT uint8_t SetDebugMode(uint8_t Switch);
VLM_BUS_EXPORT uint8_t EchoMode(uint8_t Flag);

// Communication and devices.
VLM_BUS_EXPORT uint8_t StartCommunication(uint16_t GlobalTimeOutTime);
VLM_BUS_EXPORT uint8_t StopCommunication(void);
VLM_BUS_EXPORT uint8_t GetConnectedDevices(uint32_t *Devices);
VLM_BUS_EXPORT uint8_t SearchForNewDevices(uint32_t *Devices, uint8_t NrOfDevices,
                                           uint8_t NrOfNewInclude);
VLM_BUS_EXPORT uint32_t SendSync(uint8_t Type);
VLM_BUS_EXPORT uint8_t VerifySyncReceive(uint32_t SyncID);
VLM_BUS_EXPORT uint8_t ActivateCommand(uint32_t FABNr);
VLM_BUS_EXPORT uint8_t SwitchDeviceMode(uint32_t FABNr, uint8_t Mode);
VLM_BUS_EXPORT uint8_t GetDeviceMode(uint32_t FABNr);
VLM_BUS_EXPORT uint8_t SetLockService(uint32_t FABNr, uint8_t LockUnlock);
VLM_BUS_EXPORT uint16_t GetTimeOutTime(uint32_t FABNr);
VLM_BUS_EXPORT uint8_t SetTimeOutTime(uint32_t FABNr, uint16_t Time);
VLM_BUS_EXPORT uint8_t SetNewFabNumber(uint32_t OldFABNr, uint32_t NewFabNr);

// Parameters.
VLM_BUS_EXPORT int16_t GetNrOfParameter(uint32_t FABNr, uint8_t Which);
VLM_BUS_EXPORT int16_t GetAllParameter(uint32_t FABNr, BusDataObject *Parameters);
VLM_BUS_EXPORT uint8_t GetNextParameter(uint32_t FABNr, uint16_t ParamNr,
                                        BusDataObject *Parameters);
VLM_BUS_EXPORT uint8_t GetParameter(uint32_t FABNr, uint16_t ParamNr, BusDataObject *Data);
VLM_BUS_EXPORT uint8_t SetParameter(uint32_t FABNr, BusDataObject *Data);
VLM_BUS_EXPORT int16_t GetLastChangedParameter(uint32_t FABNr, BusDataObject *Parameter);

// Memory and library information.
VLM_BUS_EXPORT uint8_t GetMemory(uint32_t FABNr, uint8_t MemoryType, uint32_t Address,
                                 BusMemoryObject *Memory);
VLM_BUS_EXPORT uint8_t SetMemory(uint32_t FABNr, uint8_t MemoryType, uint32_t Address,
                                 BusMemoryObject *Memory);
VLM_BUS_EXPORT int32_t GetExtendedErrorInformation(char *ErrMsg);
VLM_BUS_EXPORT uint8_t EnforceInterfaceRelease(void);
VLM_BUS_EXPORT int32_t GetComponentName(char *Name);
VLM_BUS_EXPORT uint8_t ServiceMemoryTable(void *Table);
VLM_BUS_EXPORT uint16_t GetDLLVersionNr(void);

#ifdef __cplusplus
} // extern "C"

static_assert(sizeof(BusDataObject) == 268);
static_assert(offsetof(BusDataObject, Value) == 2);
static_assert(offsetof(BusDataObject, Length) == 258);
static_assert(offsetof(BusDataObject, DataType) == 260);
static_assert(offsetof(BusDataObject, Description) == 264);
static_assert(sizeof(BusMemoryObject) == 257);
static_assert(offsetof(BusMemoryObject, Length) == 256);
#else
_Static_assert(sizeof(BusDataObject) == 268, "BusDataObject layout");
_Static_assert(sizeof(BusMemoryObject) == 257, "BusMemoryObject layout");
#endif
