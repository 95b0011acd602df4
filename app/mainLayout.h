#pragma once

class frmMain;

// Makes the main window's controls, places them as its layout gives them and sets the tab
// order, the panel's font and the keyboard's start on the canvas.
void layOutMainWindow(frmMain &w);
// What a screen reader says of each control: its caption without the access key, and what it
// does.
void describeMainWindow(frmMain &w);
