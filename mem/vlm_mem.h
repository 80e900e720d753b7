#pragma once

#include <stdint.h>

// VLM_MEM: conversion between an instrument's parameter value bytes and native values.
//
// The instrument's representation is little-endian two's complement for integers and IEEE-754
// single precision for floats. The library keeps no state and owns no memory.
#ifdef __cplusplus
extern "C" {
#endif

// Stores the value that count (2 or 4) instrument bytes at source hold into the native value at
// destination: a 16-bit integer for 2 bytes, a 32-bit integer or a single float for 4. Returns
// nonzero on success, 0 for a null pointer or another count.
uint8_t ConvertMemoryToData(void *destination, const void *source, uint8_t count);

// Writes the native value at source into count (1, 2 or 4) instrument bytes at destination. A
// count smaller than the native width takes the value's low-order part. Returns nonzero on
// success, 0 for a null pointer or another count.
uint8_t ConvertDataToMemory(const void *source, void *destination, uint8_t count);

#ifdef __cplusplus
}
#endif
