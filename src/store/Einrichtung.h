#pragma once
// The default data of a new data folder.
void Setup_Datenordner();
