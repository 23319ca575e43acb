#pragma once
// The printer application's drivers (one per printer of the profiles table) and the PAPPL
// callbacks that make a printer of one.
#include <span>
#include <string_view>

#include <pappl/pappl.h>

#include "res/Profiles.h"

namespace tallyx::printer {

// A driver is a row of the profiles table.
using Driver = Profile;

const Driver* FindDriver(std::string_view name);
// The driver whose maker and model a device ID names; null when none does.
const Driver* MatchDeviceId(std::string_view deviceId);

// PAPPL's list of the drivers above (names and descriptions live as long as the program).
std::span<pappl_pr_driver_t> PapplDrivers();
bool DriverCallback(pappl_system_t* system, const char* driverName, const char* deviceUri, const char* deviceId,
                    pappl_pr_driver_data_t* data, ipp_t** attrs, void* context);
const char* AutoAddCallback(const char* deviceInfo, const char* deviceUri, const char* deviceId, void* context);

// Raster and status callbacks (Raster.cpp, Status.cpp).
void SetJobCallbacks(pappl_pr_driver_data_t& data);
bool StatusCallback(pappl_printer_t* printer);
// Asks every printer that is not printing for its status (the idle poll).
bool PollPrinters(pappl_system_t* system, void* context);
// Asks the printer until it can print (false: the job was cancelled meanwhile).
bool WaitUntilPrintable(pappl_job_t* job, pappl_device_t* device);

// The device URI schemes socket, serial and usb on tallyx's transports.
void AddDeviceSchemes();

} // namespace tallyx::printer
