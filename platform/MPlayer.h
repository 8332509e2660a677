// MPlayer: the System page's media player, a bar of buttons that drive an MCI device.
// This system has no MCI device layer: Open raises EMCIDeviceError with the MCI's message, and
// the buttons' actions raise "No MCI device open" as they do on a player that is not open.
#pragma once

#include <string>

#include "Controls.h"

KV_EXCEPTION(EMCIDeviceError, Exception);

// ComCtrls' up-down buttons also name btNext and btPrev, and DBCtrls has a TButtonSet of its
// own (Delphi tells them apart by unit), so these live in a namespace: MPlayer::btNext,
// MPlayer::btPrev, MPlayer::TButtonSet.
namespace MPlayer {
KV_ENUM(TMPBtnType, btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject)
KV_SET(TButtonSet, TMPBtnType)
}  // namespace MPlayer
using MPlayer::btPlay, MPlayer::btPause, MPlayer::btStop, MPlayer::btStep, MPlayer::btBack, MPlayer::btRecord,
    MPlayer::btEject;
using MPlayer::TMPBtnType;
KV_ENUM(TMPDeviceTypes, dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther, dtOverlay,
        dtScanner, dtSequencer, dtVCR, dtVideodisc, dtWaveAudio)
KV_ENUM(TMPModes, mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen)
KV_ENUM(TMPNotifyValues, nvSuccessful, nvSuperseded, nvAborted, nvFailure)
KV_EVENT(EMPNotify, "Sender: TObject; Button: TMPBtnType; var DoDefault: Boolean", TObject*, TMPBtnType, bool&)
KV_EVENT(EMPPostNotify, "Sender: TObject; Button: TMPBtnType", TObject*, TMPBtnType)

class TMediaPlayer : public TCustomControl {
  KV_CLASS(TMediaPlayer, TCustomControl)
 public:
  static constexpr MPlayer::TButtonSet AllButtons{btPlay, btPause, btStop,   MPlayer::btNext, MPlayer::btPrev,
                                                  btStep, btBack,  btRecord, btEject};
  // MCI error numbers (MCIERR_BASE + n) that this player reports.
  static constexpr int MciErrFileNotFound = 275;
  static constexpr int MciErrDeviceNotInstalled = 306;

  explicit TMediaPlayer(TComponent* AOwner);
  ~TMediaPlayer() override;

  MPlayer::TButtonSet GetVisibleButtons() const { return FVisibleButtons; }
  void SetVisibleButtons(MPlayer::TButtonSet v);
  MPlayer::TButtonSet GetEnabledButtons() const { return FEnabledButtons; }
  void SetEnabledButtons(MPlayer::TButtonSet v);
  MPlayer::TButtonSet GetColoredButtons() const { return FColoredButtons; }
  void SetColoredButtons(MPlayer::TButtonSet v);
  bool GetAutoEnable() const { return FAutoEnable; }
  void SetAutoEnable(bool v);
  bool GetAutoOpen() const { return FAutoOpen; }
  void SetAutoOpen(bool v) { FAutoOpen = v; }
  bool GetAutoRewind() const { return FAutoRewind; }
  void SetAutoRewind(bool v) { FAutoRewind = v; }
  TMPDeviceTypes GetDeviceType() const { return FDeviceType; }
  void SetDeviceType(TMPDeviceTypes v) { FDeviceType = v; }
  std::string GetFileName() const { return FFileName; }
  void SetFileName(const std::string& v) { FFileName = v; }
  bool GetShareable() const { return FShareable; }
  void SetShareable(bool v) { FShareable = v; }
  TWinControl* GetDisplay() const { return FDisplay; }
  void SetDisplay(TWinControl* v);

  // Run-time state, as Delphi's public properties.
  bool Notify = false;
  bool Wait = false;
  TMPModes Mode() const { return FDeviceID ? mpStopped : mpNotReady; }
  int DeviceID() const { return FDeviceID; }
  int Error() const { return FError; }
  std::string ErrorMessage() const { return FErrorMessage; }
  TMPNotifyValues NotifyValue() const { return FNotifyValue; }
  // Whether a button is drawn (and clicked) as enabled: with AutoEnable at run time a closed
  // player has every button disabled, as Delphi's has.
  bool ButtonEnabled(TMPBtnType b) const;
  // The rectangle of a visible button, or an empty one.
  TRect ButtonRect(TMPBtnType b) const;

  // The MCI commands. Open raises EMCIDeviceError (no device layer here); the others raise
  // it because no device is open. Close is always allowed.
  void Open();
  void Close();
  void Play();
  void Pause();
  void Stop();
  void Next();
  void Previous();
  void Step();
  void Back();
  void StartRecording();
  void Eject();
  // Presses a button as a click does: OnClick, the action when allowed, OnPostClick.
  void ClickButton(TMPBtnType b);

  void Notification(TComponent* c, TOperation op) override;
  void Loaded() override;

  EMPNotify OnClick;
  EMPPostNotify OnPostClick;
  TNotifyEvent OnNotify;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void Dispatch(TMessage& m) override;

 private:
  [[noreturn]] void RaiseMci(int error, const std::string& message);
  void CheckOpen();
  int ButtonAt(int x, int y) const;
  MPlayer::TButtonSet FVisibleButtons = AllButtons;
  MPlayer::TButtonSet FEnabledButtons = AllButtons;
  MPlayer::TButtonSet FColoredButtons = AllButtons;
  bool FAutoEnable = true;
  bool FAutoOpen = false;
  bool FAutoRewind = true;
  TMPDeviceTypes FDeviceType = dtAutoSelect;
  std::string FFileName;
  bool FShareable = false;
  TWinControl* FDisplay = nullptr;
  int FDeviceID = 0;
  int FError = 0;
  std::string FErrorMessage;
  TMPNotifyValues FNotifyValue = nvSuccessful;
  int FPressed = -1;  // button held down by the mouse
  bool FPressedIn = false;
  int FFocusedButton = 0;
};

void RegisterMPlayerClasses();
