object Form1: TForm
  Font.Style = [fsBold.Data]
end
