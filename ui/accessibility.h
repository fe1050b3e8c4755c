#pragma once

class TMainForm;

// What a screen reader needs to say each control: caption labels as the
// buddies of their fields, a name for every control, the link labels as links.
void DescribeForScreenReaders(TMainForm &form);
