#pragma once

// The toolbar buttons a child window offers while it is active.
struct ToolbarState
{
    enum ButtonStyle { Plain = 0, DropDown = 5 };

    bool Ende = false;
    bool Speichern = false;
    bool Drucken = false;
    int DruckenStyle = Plain;
    bool Vorschau = false;
    bool Neu = false;
    bool Aendern = false;
    bool Einpflegen = false;
    bool Loeschen = false;
    bool LoeschMess = false;
    bool Vergroessern = false;
    bool Verkleinern = false;
    bool Exportieren = false;
};
