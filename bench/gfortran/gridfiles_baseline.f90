! Baseline for the grid file benchmark: the same cube and grd layouts written and read with
! formatted Fortran I/O, one operation per run.
!   gridfiles_baseline OP DIR [N]   OP: write_cube, read_cube, write_grd, read_grd
! Prints the operation's wall and CPU seconds; peak memory is measured from outside (/usr/bin/time -v).
program gridfiles_baseline
  implicit none
  character(len=32) :: op, arg
  character(len=512) :: dir
  character(len=60) :: title
  character(len=80), allocatable :: head(:)
  character(len=10) :: short
  real(8), allocatable :: grid(:,:,:)
  real(4) :: origin(3), axes(3,3), atoms(4,3)
  integer :: n, natoms, n1, n2, n3, i1, i2, i3, k, q, nums(3)
  integer(8) :: t0, t1, rate
  real(8) :: c0, c1

  call get_command_argument(1, op)
  call get_command_argument(2, dir)
  n = 200
  if (command_argument_count() >= 3) then
    call get_command_argument(3, arg)
    read(arg, *) n
  end if
  natoms = 3
  origin = -10.0
  axes = 0.0
  do k = 1, 3
    axes(k,k) = 0.1
  end do
  atoms = reshape((/ 8.0, 0.0, 0.0, 0.0, 1.0, 0.0, 1.43, 1.1, 1.0, 0.0, -1.43, 1.1 /), (/4,3/))
  nums = (/ 8, 1, 1 /)

  if (op(1:5) == 'write') then
    allocate(grid(n,n,n))
    do i3 = 1, n
      do i2 = 1, n
        do i1 = 1, n
          grid(i1,i2,i3) = sin(0.1d0*(i1-1)) * cos(0.07d0*(i2-1)) * exp(-0.01d0*(i3-1)) * &
                           10.0d0**(mod(i1+i2+i3-3, 20) - 10)
        end do
      end do
    end do
  end if

  call system_clock(t0, rate)
  call cpu_time(c0)
  select case (trim(op))
  case ('write_cube')
    open(30, file=trim(dir)//'/gf.cube')
    title = ' '
    write(30,'(A60)') title
    write(30,'(A60)') title
    write(30,'(I5,3F12.6)') natoms, origin
    do k = 1, 3
      write(30,'(I5,4F12.6)') n, axes(k,:)
    end do
    do k = 1, natoms
      write(30,'(I5,4F12.6)') nums(k), atoms(:,k)
    end do
    q = n / 6
    write(short, '(A1,I1,A7)') '(', n - 6*q, 'ES13.5)'
    do i1 = 1, n
      do i2 = 1, n
        do k = 1, q
          write(30,'(6ES13.5)') grid(i1,i2,6*k-5:6*k)
        end do
        if (n - 6*q > 0) write(30,short) grid(i1,i2,6*q+1:n)
      end do
    end do
    close(30)
  case ('read_cube')
    open(11, file=trim(dir)//'/gf.cube', status='old')
    read(11,'(A60)') title
    read(11,'(A60)') title
    read(11,'(I5,3F12.6)') natoms, origin
    read(11,'(I5,4F12.6)') n1, axes(1,:)
    read(11,'(I5,4F12.6)') n2, axes(2,:)
    read(11,'(I5,4F12.6)') n3, axes(3,:)
    do k = 1, natoms
      read(11,'(I5,4F12.6)') nums(k), atoms(:,k)
    end do
    allocate(grid(n1,n2,n3))
    q = n3 / 6
    write(short, '(A1,I1,A6)') '(', n3 - 6*q, 'E13.5)'
    do i1 = 1, n1
      do i2 = 1, n2
        do k = 1, q
          read(11,'(6E13.5)') grid(i1,i2,6*k-5:6*k)
        end do
        if (n3 - 6*q > 0) read(11,short) grid(i1,i2,6*q+1:n3)
      end do
    end do
    close(11)
    n = n1
  case ('write_grd')
    allocate(head(natoms + 12))
    head = ' '
    head(1) = '3DGRDFIL'
    open(118, file=trim(dir)//'/gf.grd')
    do k = 1, natoms + 12
      head(k) = adjustl(head(k))
      write(118,'(A80)') head(k)
    end do
    q = n / 6
    write(short, '(A1,I1,A7)') '(', n - 6*q, 'E18.10)'
    do i3 = 1, n
      do i2 = 1, n
        do k = 1, q
          write(118,'(6E18.10)') grid(6*k-5:6*k,i2,i3) / 0.14818464289233146d0
        end do
        if (n - 6*q > 0) write(118,short) grid(6*q+1:n,i2,i3) / 0.14818464289233146d0
      end do
    end do
    close(118)
  case ('read_grd')
    open(11, file=trim(dir)//'/gf.cube', status='old')
    read(11,'(A60)') title
    read(11,'(A60)') title
    read(11,'(I5,3F12.6)') natoms, origin
    read(11,'(I5,4F12.6)') n1, axes(1,:)
    read(11,'(I5,4F12.6)') n2, axes(2,:)
    read(11,'(I5,4F12.6)') n3, axes(3,:)
    do k = 1, natoms
      read(11,'(I5,4F12.6)') nums(k), atoms(:,k)
    end do
    allocate(grid(n1,n2,n3), head(natoms + 12))
    open(14, file=trim(dir)//'/gf.grd', status='old')
    do k = 1, natoms + 12
      read(14,'(A80)') head(k)
    end do
    q = n1 / 6
    write(short, '(A1,I1,A7)') '(', n1 - 6*q, 'E18.10)'
    do i3 = 1, n3
      do i2 = 1, n2
        do k = 1, q
          read(14,'(6E18.10)') grid(6*k-5:6*k,i2,i3)
        end do
        if (n1 - 6*q > 0) read(14,short) grid(6*q+1:n1,i2,i3)
      end do
    end do
    grid = grid * 0.14818464289233146d0
    close(14)
    close(11)
    n = n1
  case default
    write(*,*) 'unknown operation ', trim(op)
    stop 1
  end select
  call system_clock(t1)
  call cpu_time(c1)
  write(*,'(A,A,I0,A,F8.3,A,F8.3)') trim(op), ' points=', int(n,8)**3, ' seconds=', &
       real(t1 - t0, 8) / real(rate, 8), ' cpu=', c1 - c0
end program gridfiles_baseline
